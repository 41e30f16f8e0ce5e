#include "setup/CommandLine.h"

#include <cstring>

namespace {

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The first `length` characters of `text` equal `prefix` (which has that length),
// letter case ignored.
bool StartsWithNoCase(const char* text, const char* prefix) {
  for (; *prefix != '\0'; ++text, ++prefix) {
    if (*text == '\0' || LowerAscii(*text) != *prefix) return false;
  }
  return true;
}

bool EqualsNoCase(const char* text, const char* other) {
  return StartsWithNoCase(text, other) && text[strlen(other)] == '\0';
}

}  // namespace

CommandLine ParseCommandLine(const char* text) {
  CommandLine result;
  // The byte "/" is never the trail byte of a double-byte character.
  const char* deciding = strrchr(text, '/');
  if (deciding == nullptr) {
    result.uninstall = true;
    return result;
  }
  if (EqualsNoCase(deciding, "/s")) {
    result.silent = true;
    deciding = strchr(text, '/');
  }
  result.setup = StartsWithNoCase(deciding, "/setup");
  result.wait = StartsWithNoCase(deciding, "/wait");
  result.warning = StartsWithNoCase(deciding, "/warning");
  return result;
}
