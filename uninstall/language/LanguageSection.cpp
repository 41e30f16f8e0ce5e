// Parsing and lookup in the section of the language file. Everything here stays inside
// the section buffer whatever the file holds.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/TextHelpers.h"
#include "language/Crc32.h"
#include "language/LanguageResources.h"

namespace {

constexpr char kSeparator = '\f';
constexpr char kMarker[] = "***messages**";
constexpr int kMarkerLength = sizeof kMarker - 1;
// The longest entry text taken from a last line that has no line end.
constexpr int kMaxEntryText = 255;

const char kCategoryPrefix[] = {'s', '$', '@'};

char Unescape(char c) {
  switch (c) {
    case 'n':
      return '\n';
    case 'r':
      return '\r';
    case 't':
      return '\t';
    case '"':
      return '"';
    case '\\':
      return '\\';
    default:
      return '\0';
  }
}

// Compares the first eight characters, as unsigned bytes, stopping at a terminator.
int CompareKey(const char* a, const char* b) {
  return strncmp(a, b, LanguageResources::kKeyLength);
}

}  // namespace

void LanguageResources::Clear() {
  std::free(text);
  text = nullptr;
  textLength = 0;
  lineIndex.Clear();
}

int LanguageResources::FindMarker(const char* block, int size) {
  for (int offset = 0; offset <= size - kMarkerOverlap; ++offset) {
    if (block[offset] == '*' && memcmp(block + offset, kMarker, kMarkerLength) == 0) return offset;
  }
  return -1;
}

int LanguageResources::ConvertStep(const char* raw, int available, char* converted) {
  char c = raw[0];
  if (c == '\0') return 0;
  char escaped = c == '\\' && available > 1 ? Unescape(raw[1]) : '\0';
  if (escaped != '\0') {
    *converted = escaped;
    return 2;
  }
  *converted = c == '\r' || c == '\n' ? kSeparator : c;
  return 1;
}

bool LanguageResources::SetSection(const char* raw, int length) {
  Clear();
  if (length <= 0) return false;
  char* converted = static_cast<char*>(std::malloc(static_cast<size_t>(length) + 1));
  if (converted == nullptr) return false;
  int read = 0;
  int written = 0;
  while (read < length) {
    int step = ConvertStep(raw + read, length - read, &converted[written]);
    if (step == 0) break;
    ++written;
    read += step;
  }
  converted[written] = '\0';
  // Keep the section in a buffer of exactly its size.
  char* shrunk = static_cast<char*>(std::realloc(converted, static_cast<size_t>(written) + 1));
  text = shrunk != nullptr ? shrunk : converted;
  textLength = written;

  // Offset 0 is the marker line; lines that start in the last eight characters are
  // left to the scan.
  for (int k = 1; k < textLength - kKeyLength; ++k) {
    if (text[k - 1] == kSeparator && text[k] != kSeparator) lineIndex.Add(k);
  }
  const char* section = text;
  std::sort(lineIndex.items, lineIndex.items + lineIndex.count,
            [section](int a, int b) { return CompareKey(section + a, section + b) < 0; });
  return true;
}

void LanguageResources::MakeKey(const char* source, const char* section, TranslationCategory category,
                                char key[kKeyLength + 1]) {
  char prefix = kCategoryPrefix[static_cast<int>(category)];
  uint32_t crc = Crc32(0, &prefix, 1);
  if (section != nullptr) crc = Crc32Text(crc, section);
  crc = Crc32Text(crc, source);
  snprintf(key, kKeyLength + 1, "%08x", static_cast<unsigned>(crc));
}

int LanguageResources::FindLine(const char* key) const {
  int base = 0;
  int n = lineIndex.count;
  while (n > 0) {
    int middle = base + n / 2;
    int line = lineIndex[middle];
    int compared = CompareKey(key, text + line);
    if (compared == 0) return line;
    if (compared < 0) {
      n = n / 2;
    } else {
      base = middle + 1;
      n = n - n / 2 - 1;
    }
  }
  return -1;
}

int LanguageResources::ScanForLine(const char* key) const {
  int line = 0;
  while (line < textLength) {
    const char* p = text + line;
    // strncmp stops at the terminator, so p[8] exists when the key matched.
    if (CompareKey(key, p) == 0 && p[kKeyLength] == '=' && p[kKeyLength + 1] == '"') return line;
    while (line < textLength && text[line] != kSeparator) ++line;
    while (line < textLength && text[line] == kSeparator) ++line;
  }
  return -1;
}

int LanguageResources::FindEntry(const char* key) const {
  int line = FindLine(key);
  return line >= 0 ? line : ScanForLine(key);
}

void LanguageResources::CopyEntry(int line, char* output, int capacity) const {
  // Skip the key, then the "=" and the quote, never past the end of the line (a line
  // found through the index need not have them).
  const char* p = text + line + kKeyLength;
  for (int i = 0; i < 2 && *p != '\0' && *p != kSeparator; ++i) ++p;
  // The entry runs to the line end, or for at most 255 characters on an unended last
  // line; its text ends at its last double quote. The line end itself is never text.
  const char* end = strchr(p, kSeparator);
  int length = end != nullptr ? static_cast<int>(end - p) : static_cast<int>(strnlen(p, kMaxEntryText));
  for (int i = length - 1; i >= 0; --i) {
    if (p[i] == '"') {
      length = i;
      break;
    }
  }
  if (length > capacity - 1) length = capacity - 1;
  memcpy(output, p, static_cast<size_t>(length));
  output[length] = '\0';
  TrimPartialChar(output);
}

bool LanguageResources::TranslateKey(const char* key, char* output, int capacity) const {
  if (!IsLoaded() || capacity <= 0 || strlen(key) != kKeyLength) return false;
  int line = FindEntry(key);
  if (line < 0) return false;
  CopyEntry(line, output, capacity);
  return true;
}

void LanguageResources::Translate(const char* source, char* output, int capacity, const char* section,
                                  TranslationCategory category) const {
  if (capacity <= 0) return;
  if (IsLoaded()) {
    char key[kKeyLength + 1];
    MakeKey(source, section, category, key);
    if (TranslateKey(key, output, capacity)) return;
  }
  CopyText(output, static_cast<size_t>(capacity), source);
}

bool LanguageResources::DirectionEntryIsRightToLeft() const {
  char direction[kScaleTextSize];
  Translate("LTR", direction, sizeof direction, "LTR", TranslationCategory::Dialog);
  return strcmp(direction, "RTL") == 0;
}
