// The installation list "Uninstall.lst": one installed file or folder per line, named
// relative to the program's folder. The archiver's installer writes it; the uninstall
// reads it to know what to delete, so every entry is checked before it is used: the
// list can only ever name things inside the program's folder.
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>

// Cuts the program's full file name to its folder, the folder that the list's entries
// are relative to: before its last backslash, or just after it when a drive colon
// precedes it (the root folder of a drive keeps its backslash). False, with the path
// unchanged, when the name holds no backslash. The trail byte of a double-byte
// character is never taken for the backslash.
bool CutToFolder(char* path);

// A line holds at most kListLineSize - 1 characters.
constexpr size_t kListLineSize = 2048;

// What becomes of a line of the list.
enum class ListLineCheck {
  Usable,         // names something inside the folder, and its full path fits
  Empty,          // empty once stripped
  TooLong,        // longer than the line buffer
  ZeroByte,       // holds a NUL byte
  OutsideFolder,  // rooted, with a drive or device, or climbing above the folder
  PathTooLong,    // the full path would not fit its buffer
};

// Reads the next line of the list (without its line feed) into `line`. False at the end
// of the list. `intact` becomes false for a line that is longer than the buffer or
// holds a NUL byte: what would be read of it is not the path the line names, so the
// caller must not use it, not even in part.
bool ReadListLine(FILE* list, char* line, size_t capacity, bool* intact);
// The same, telling which damage a line that is not intact has (TooLong before
// ZeroByte); Usable for an intact line.
bool ReadListLine(FILE* list, char* line, size_t capacity, ListLineCheck* check);

// True when a stripped, non-empty entry names something inside the folder: it is not
// rooted (no leading backslash or slash, so no UNC or "\\?\" name either), holds no
// colon (no drive, no device or stream name), and none of its parts is made of dots and
// blanks only with two dots or more (no "..", in any spelling the system would read as
// the parent folder). The parts are found with the code page's lead bytes, so the trail
// byte of a double-byte character never counts as a separator.
bool IsEntryInsideFolder(const char* entry);

// Checks an intact line: strips it in place (blanks, tabs and CR at its end) and, when
// it is usable, writes the full path (folder followed by the entry) into `path`.
ListLineCheck CheckListLine(char* line, const char* folder, char* path, size_t pathSize);

// Calls `visit` with the full path (folder followed by the entry) of every usable entry
// from the list's current position to its end. Blanks, tabs and CR at the end of a line
// are removed; empty lines, lines that are not intact, entries outside the folder and
// paths that do not fit `pathSize` characters are skipped. `folder` ends with a
// backslash. Returns the number of calls of `visit` that returned true.
int VisitListEntries(FILE* list, const char* folder, const std::function<bool(const char* path)>& visit,
                     size_t pathSize);

// Passes over the whole list, each calling `remove` for every usable entry in the
// list's order, until a pass removes nothing (a folder listed before the files inside
// it goes in a later pass). Returns the number of passes made.
int RunListPasses(FILE* list, const char* folder, const std::function<bool(const char* path)>& remove,
                  size_t pathSize);
