#include "Des/Encryption.h"

#include <cstring>
#include <utility>

namespace {

// Value of a hexadecimal digit of either case, or -1.
constexpr struct HexDigitValues {
  signed char value[256];
  constexpr HexDigitValues() : value() {
    for (int c = 0; c < 256; ++c) value[c] = -1;
    for (int c = '0'; c <= '9'; ++c) value[c] = static_cast<signed char>(c - '0');
    for (int c = 'A'; c <= 'F'; ++c) value[c] = static_cast<signed char>(c - 'A' + 10);
    for (int c = 'a'; c <= 'f'; ++c) value[c] = static_cast<signed char>(c - 'a' + 10);
  }
} kHexDigit;

// The two upper-case digits of every byte value, high nibble first.
constexpr struct HexPairs {
  char pair[256][2];
  constexpr HexPairs() : pair() {
    constexpr char kDigits[] = "0123456789ABCDEF";
    for (int b = 0; b < 256; ++b) {
      pair[b][0] = kDigits[b >> 4];
      pair[b][1] = kDigits[b & 15];
    }
  }
} kHexPairs;

}  // namespace

TEncryption::TEncryption(NoticeFunction notice) : FNotice(notice) {}

void TEncryption::SetInput(std::string value) {
  FInput = std::move(value);
  StrToHex(FInput, FHexInput);
}

void TEncryption::SetOutput(std::string value) {
  FOutput = std::move(value);
  StrToHex(FOutput, FHexOutput);
}

void TEncryption::SetHexInput(std::string value) {
  FHexInput = std::move(value);
  FInput = HexToStr(FHexInput);
}

void TEncryption::SetHexOutput(std::string value) {
  FHexOutput = std::move(value);
  FOutput = HexToStr(FHexOutput);
}

void TEncryption::SetKey(std::string value) {
  if (value.size() > kMaxKeyLength) {
    if (FNotice) FNotice(kKeyTooLongText, kKeyTooLongCaption);
    return;
  }
  FKey = std::move(value);
}

void TEncryption::Execute() {
  if (FKey.empty()) FKey = kFallbackKey;
  std::uint8_t key[8] = {};  // the key's bytes, then zero bytes up to 8
  std::memcpy(key, FKey.data(), FKey.size());

  const std::size_t full = FInput.size() / 8;
  const std::size_t rest = FInput.size() % 8;
  const bool encipher = FAction == TActionType::Encryption;
  // Output is replaced as a whole; keeping its buffer spares an allocation per line.
  FOutput.resize(8 * (full + (rest > 0 ? 1 : 0)));
  auto* out = reinterpret_cast<std::uint8_t*>(&FOutput[0]);
  const auto* in = reinterpret_cast<const std::uint8_t*>(FInput.data());

  // The full blocks go through the block function in one run; the result is the same
  // as block by block, since the blocks are independent.
  ScheduleFor(key).Crypt(in, out, full, encipher);
  if (rest > 0) {
    std::uint8_t last[8] = {};
    std::memcpy(last, in + 8 * full, rest);
    CipherBlock(last, out + 8 * full, key, encipher);
  }
  StrToHex(FOutput, FHexOutput);
}

void TEncryption::StrToHex(const std::string& bytes, std::string& hex) {
  hex.resize(2 * bytes.size());
  char* p = &hex[0];
  for (unsigned char c : bytes) {
    std::memcpy(p, kHexPairs.pair[c], 2);
    p += 2;
  }
}

std::string TEncryption::HexToStr(const std::string& hex) {
  // An odd last character is ignored; a pair holding anything but a digit gives 0.
  std::string bytes(hex.size() / 2, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const int high = kHexDigit.value[static_cast<unsigned char>(hex[2 * i])];
    const int low = kHexDigit.value[static_cast<unsigned char>(hex[2 * i + 1])];
    if (high >= 0 && low >= 0) bytes[i] = static_cast<char>(high << 4 | low);
  }
  return bytes;
}

void TEncryption::CipherBlock(const std::uint8_t in[8], std::uint8_t out[8], const std::uint8_t key[8],
                              bool encipher) {
  ScheduleFor(key).Crypt(in, out, 1, encipher);
}

const DesKeySchedule& TEncryption::ScheduleFor(const std::uint8_t key[8]) {
  if (!FSchedule || std::memcmp(FScheduleKey, key, 8) != 0) {
    FSchedule.emplace(key);
    std::memcpy(FScheduleKey, key, 8);
  }
  return *FSchedule;
}
