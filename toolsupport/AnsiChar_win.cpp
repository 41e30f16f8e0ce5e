#include <windows.h>

#include "toolsupport/AnsiChar.h"

bool DecodeAnsiChar(const char* bytes, std::size_t length, char32_t& codePoint) {
  wchar_t wide[2];
  const int units =
      MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes, static_cast<int>(length), wide, 2);
  if (units == 1) {
    codePoint = wide[0];
    return wide[0] < 0xD800 || wide[0] >= 0xE000;
  }
  const bool pair = units == 2 && wide[0] >= 0xD800 && wide[0] < 0xDC00 && wide[1] >= 0xDC00 && wide[1] < 0xE000;
  if (pair) codePoint = 0x10000 + ((char32_t{wide[0]} - 0xD800) << 10) + (wide[1] - 0xDC00);
  return pair;
}
