#include "tools/JsonText.h"

#include <cstdio>

namespace {

bool IsControl(unsigned char byte) {
  return byte < 0x20 || byte == 0x7F;
}

std::string Escaped(unsigned char byte, const char* format) {
  char escaped[8];
  std::snprintf(escaped, sizeof escaped, format, byte);
  return escaped;
}

}  // namespace

std::string JsonString(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    switch (c) {
      case '"':
        quoted += "\\\"";
        break;
      case '\\':
        quoted += "\\\\";
        break;
      case '\n':
        quoted += "\\n";
        break;
      case '\r':
        quoted += "\\r";
        break;
      case '\t':
        quoted += "\\t";
        break;
      default:
        quoted += IsControl(static_cast<unsigned char>(c)) ? Escaped(static_cast<unsigned char>(c), "\\u%04x")
                                                           : std::string(1, c);
    }
  }
  return quoted + "\"";
}

std::string ShownText(std::string_view text) {
  std::string shown = "\"";
  for (const char c : text)
    shown += IsControl(static_cast<unsigned char>(c)) ? Escaped(static_cast<unsigned char>(c), "\\x%02X")
                                                      : std::string(1, c);
  return shown + "\"";
}
