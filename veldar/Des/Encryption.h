// TEncryption: enciphers or deciphers one text at a time (in the installer, one line of
// a script) with the installer's DES, block by block without chaining, the last block
// filled with zero bytes. Input and result are kept both as bytes and as hexadecimal
// text. Used on one thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "Des/DesBlock.h"
#include "Des/Notice.h"

enum class TActionType : std::uint8_t { Encryption = 0, Decryption = 1 };

class TEncryption {
 public:
  // Key used by Execute when Key is empty; the last character is a blank.
  static constexpr const char* kFallbackKey = "Oak Elm ";
  static constexpr std::size_t kMaxKeyLength = 8;
  static constexpr const char* kKeyTooLongText = "Key String Length Must Less 9 Character.";
  static constexpr const char* kKeyTooLongCaption = "Information";

  // `notice` shows the refusal of a too long key; by default the user sees it.
  explicit TEncryption(NoticeFunction notice = ShowInformation);

  // Writing Input also sets HexInput to its hexadecimal form; writing HexInput keeps the
  // text as written and sets Input to the bytes it stands for. Output and HexOutput
  // are paired the same way.
  const std::string& Input() const { return FInput; }
  void SetInput(std::string value);
  const std::string& Output() const { return FOutput; }
  void SetOutput(std::string value);
  const std::string& HexInput() const { return FHexInput; }
  void SetHexInput(std::string value);
  const std::string& HexOutput() const { return FHexOutput; }
  void SetHexOutput(std::string value);

  // A key of more than 8 characters is refused with a notice and Key stays as it was.
  const std::string& Key() const { return FKey; }
  void SetKey(std::string value);

  TActionType Action() const { return FAction; }
  void SetAction(TActionType value) { FAction = value; }

  // Runs the cipher over Input in the direction of Action and replaces Output and
  // HexOutput. An empty Key is replaced by the fallback key first. Input, HexInput and
  // Action are left alone.
  void Execute();

 private:
  static void StrToHex(const std::string& bytes, std::string& hex);
  static std::string HexToStr(const std::string& hex);
  void CipherBlock(const std::uint8_t in[8], std::uint8_t out[8], const std::uint8_t key[8], bool encipher);
  // The subkeys of `key`, derived again only when the key differs from the last one.
  const DesKeySchedule& ScheduleFor(const std::uint8_t key[8]);

  std::string FInput;
  std::string FOutput;
  std::string FHexInput;
  std::string FHexOutput;
  std::string FKey;
  TActionType FAction = TActionType::Encryption;
  NoticeFunction FNotice;
  std::uint8_t FScheduleKey[8] = {};
  std::optional<DesKeySchedule> FSchedule;
};
