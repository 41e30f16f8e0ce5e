// Off Windows, names and texts are in the C library's multibyte encoding (the locale's
// LC_CTYPE). A byte that leaves a character unfinished is a lead byte: in UTF-8 the
// first byte of a sequence, in GBK 0x81 to 0xFE. Either way no byte of a separator or
// a brace is then taken from inside a character.
#include <cwchar>

#include "Core/FileNames.h"

bool IsAnsiLeadByte(unsigned char byte) {
  if (byte < 0x80) return false;
  std::mbstate_t state{};
  const char c = static_cast<char>(byte);
  return std::mbrlen(&c, 1, &state) == static_cast<size_t>(-2);
}
