#include "remove/InstallationList.h"

#include <cstring>
#include <vector>

#include "base/TextHelpers.h"

bool CutToFolder(char* path) {
  char* slash = FindLastChar(path, '\\');
  if (slash == nullptr) return false;
  // No code page has the colon as a trail byte: the byte before is the colon itself.
  if (slash > path && IsDriveDiv(slash[-1])) {
    slash[1] = '\0';
  } else {
    *slash = '\0';
  }
  return true;
}

bool ReadListLine(FILE* list, char* line, size_t capacity, ListLineCheck* check) {
  size_t length = 0;
  bool any = false;
  bool zeroByte = false;
  bool tooLong = false;
  int c;
  while ((c = getc(list)) != EOF) {
    any = true;
    if (c == '\n') break;
    if (c == '\0') zeroByte = true;
    if (length + 1 < capacity) {
      line[length++] = static_cast<char>(c);
    } else {
      tooLong = true;
    }
  }
  if (capacity > 0) line[length] = '\0';
  *check = tooLong ? ListLineCheck::TooLong : zeroByte ? ListLineCheck::ZeroByte : ListLineCheck::Usable;
  return any;
}

bool ReadListLine(FILE* list, char* line, size_t capacity, bool* intact) {
  ListLineCheck check;
  const bool any = ReadListLine(list, line, capacity, &check);
  *intact = check == ListLineCheck::Usable;
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

ListLineCheck CheckListLine(char* line, const char* folder, char* path, size_t pathSize) {
  RemoveTrailingSpaces(line);
  if (line[0] == '\0') return ListLineCheck::Empty;
  if (!IsEntryInsideFolder(line)) return ListLineCheck::OutsideFolder;
  // A path that does not fit is left alone: cut short it would name something else.
  if (!FormatText(path, pathSize, "%s%s", folder, line)) return ListLineCheck::PathTooLong;
  return ListLineCheck::Usable;
}

int VisitListEntries(FILE* list, const char* folder, const std::function<bool(const char* path)>& visit,
                     size_t pathSize) {
  int succeeded = 0;
  std::vector<char> line(kListLineSize);
  std::vector<char> path(pathSize);
  bool intact = true;
  while (ReadListLine(list, line.data(), line.size(), &intact)) {
    if (!intact) continue;
    if (CheckListLine(line.data(), folder, path.data(), path.size()) != ListLineCheck::Usable) continue;
    if (visit(path.data())) ++succeeded;
  }
  return succeeded;
}

int RunListPasses(FILE* list, const char* folder, const std::function<bool(const char* path)>& remove,
                  size_t pathSize) {
  int passes = 0;
  for (;;) {
    ++passes;
    if (VisitListEntries(list, folder, remove, pathSize) == 0) break;
    rewind(list);
  }
  return passes;
}
