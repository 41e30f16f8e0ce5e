// Any bytes as a script: the line readers and the cipher's hexadecimal reading must
// take them safely, the run's reader (in pieces of any size) must find the lines of the
// whole-text split, and every line must survive enciphering and deciphering.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "Des/ScriptFile.h"
#include "tests/text_pieces.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> lines = SplitLines(text);
  for (const std::string& line : lines)
    if (line.find_first_of("\r\n") != std::string::npos) std::abort();
  if (SplitLines(JoinLines(lines)) != lines) std::abort();

  const size_t pieceSize = size == 0 ? 1 : 1 + data[0] % 7;
  if (ReadLinesInPieces(text, pieceSize) != lines) std::abort();

  TEncryption des;
  des.SetKey(kScriptKey);
  for (const std::string& line : lines) {
    // The line read as an encrypted one, whatever it holds.
    des.SetAction(TActionType::Decryption);
    des.SetHexInput(line);
    des.Execute();
    if (des.Output().size() != 8 * ((line.size() / 2 + 7) / 8)) std::abort();
    // The line enciphered and read back.
    des.SetAction(TActionType::Encryption);
    des.SetInput(line);
    des.Execute();
    des.SetHexInput(des.HexOutput());
    des.SetAction(TActionType::Decryption);
    des.Execute();
    const std::string& back = des.Output();
    if (back.compare(0, line.size(), line) != 0 ||
        back.find_first_not_of('\0', line.size()) != std::string::npos)
      std::abort();
  }
  return 0;
}
