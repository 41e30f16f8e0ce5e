#include "remove/WininitText.h"

namespace {

constexpr char kSection[] = "rename";
constexpr char kLineEnd[] = "\r\n";

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

// Reads the section name of a header line ("[name]", blanks allowed around both);
// false for a line that is not a header. The line ends at `end`, before its line feed.
bool ReadHeader(const std::string& text, size_t begin, size_t end, std::string* name) {
  while (begin < end && IsBlank(text[begin])) ++begin;
  if (begin == end || text[begin] != '[') return false;
  size_t close = text.find(']', begin);
  if (close == std::string::npos || close > end) close = end;
  size_t first = begin + 1;
  while (first < close && IsBlank(text[first])) ++first;
  size_t last = close;
  while (last > first && IsBlank(text[last - 1])) --last;
  *name = text.substr(first, last - first);
  return true;
}

bool IsSectionName(const std::string& name) {
  if (name.size() != sizeof kSection - 1) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    char c = name[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != kSection[i]) return false;
  }
  return true;
}

bool IsBlankLine(const std::string& text, size_t begin, size_t end) {
  for (size_t i = begin; i < end; ++i)
    if (!IsBlank(text[i])) return false;
  return true;
}

// Where lines go in the first section [rename]: after its last line that is not blank
// (or after its header); npos when there is no such section.
size_t FindInsertionPoint(const std::string& text) {
  size_t insertAt = std::string::npos;
  for (size_t begin = 0; begin < text.size();) {
    size_t feed = text.find('\n', begin);
    size_t end = feed == std::string::npos ? text.size() : feed;
    size_t next = feed == std::string::npos ? text.size() : feed + 1;
    std::string name;
    if (ReadHeader(text, begin, end, &name)) {
      if (insertAt != std::string::npos) break;
      if (IsSectionName(name)) insertAt = next;
    } else if (insertAt != std::string::npos && !IsBlankLine(text, begin, end)) {
      insertAt = next;
    }
    begin = next;
  }
  return insertAt;
}

}  // namespace

size_t AddDeletionLines(std::string* text, const std::vector<std::string>& paths) {
  size_t insertAt = FindInsertionPoint(*text);
  std::string lines;
  if (insertAt == std::string::npos) {
    insertAt = text->size();
    lines = std::string("[") + kSection + "]" + kLineEnd;
  }
  // The last line of the file may have no line end.
  if (insertAt == text->size() && !text->empty() && text->back() != '\n') lines.insert(0, kLineEnd);
  size_t added = 0;
  for (const std::string& path : paths) {
    std::string line = "NUL=" + path + kLineEnd;
    if (text->size() + lines.size() + line.size() > kWininitSizeLimit) break;
    lines += line;
    ++added;
  }
  if (added > 0) text->insert(insertAt, lines);
  return added;
}
