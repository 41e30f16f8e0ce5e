#include "remove/InstallationList.h"

#include <cstring>
#include <vector>

#include "base/TextHelpers.h"

bool ReadListLine(FILE* list, char* line, size_t capacity, bool* intact) {
  size_t length = 0;
  bool any = false;
  *intact = true;
  int c;
  while ((c = getc(list)) != EOF) {
    any = true;
    if (c == '\n') break;
    if (c == '\0') *intact = false;
    if (length + 1 < capacity) {
      line[length++] = static_cast<char>(c);
    } else {
      *intact = false;
    }
  }
  if (capacity > 0) line[length] = '\0';
  return any;
}

namespace {

// A part that the system would read as the parent folder (or above): dots and blanks
// only, with at least two dots. Trailing dots and blanks are dropped from names, so
// ".. " and "..." are refused along with "..".
bool IsClimbingPart(const char* begin, const char* end) {
  int dots = 0;
  for (const char* p = begin; p < end; ++p) {
    if (*p == '.') {
      ++dots;
    } else if (*p != ' ') {
      return false;
    }
  }
  return dots >= 2;
}

}  // namespace

bool IsEntryInsideFolder(const char* entry) {
  if (entry[0] == '\0' || IsPathDiv(entry[0])) return false;
  // No code page has the colon as a trail byte: any colon byte is one, or belongs to a
  // broken character that is refused as well.
  if (strchr(entry, ':') != nullptr) return false;
  const char* partStart = entry;
  const char* p = entry;
  for (; *p != '\0'; p = NextChar(p)) {
    if (IsPathDiv(*p)) {
      if (IsClimbingPart(partStart, p)) return false;
      partStart = p + 1;
    }
  }
  return !IsClimbingPart(partStart, p);
}

int VisitListEntries(FILE* list, const char* folder, const std::function<bool(const char* path)>& visit,
                     size_t pathSize) {
  int succeeded = 0;
  std::vector<char> line(kListLineSize);
  std::vector<char> path(pathSize);
  bool intact = true;
  while (ReadListLine(list, line.data(), line.size(), &intact)) {
    if (!intact) continue;
    RemoveTrailingSpaces(line.data());
    if (line[0] == '\0' || !IsEntryInsideFolder(line.data())) continue;
    // A path that does not fit is left alone: cut short it would name something else.
    if (!FormatText(path.data(), path.size(), "%s%s", folder, line.data())) continue;
    if (visit(path.data())) ++succeeded;
  }
  return succeeded;
}
