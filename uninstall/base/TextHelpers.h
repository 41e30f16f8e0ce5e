// Code-page-aware helpers for ANSI strings and file paths. On a double-byte code page
// the routines that look for separators step over whole characters, so that the trail
// byte of a character (which may equal the backslash byte) is never taken for one.
#pragma once

#include <cstddef>

// The size of every path buffer of the program.
constexpr size_t kPathSize = 1024;

// The lead bytes of the ANSI code page, read once at static initialisation.
struct DbcsTable {
  bool leadByte[256];
  bool multiByte;

  DbcsTable();
  // Reads the lead bytes of the ANSI code page (Windows); single-byte elsewhere.
  void LoadFromSystem();
};

extern DbcsTable dbcsTable;

const char* NextChar(const char* position);
char* NextChar(char* position);
inline bool IsPathDiv(char c) {
  return c == '\\' || c == '/';
}
inline bool IsDriveDiv(char c) {
  return c == ':';
}
const char* PointToName(const char* path);
char* PointToName(char* path);
// The last occurrence of a single-byte character, never the trail byte of a
// double-byte character; null when there is none.
const char* FindLastChar(const char* text, char c);
char* FindLastChar(char* text, char c);
const char* PointToLastChar(const char* text);
char* PointToLastChar(char* text);
// Appends a backslash unless the path is empty or already ends with one; does nothing
// when the buffer of `capacity` characters has no room left for it.
void AddEndSlash(char* path, size_t capacity);
char* RemoveTrailingSpaces(char* text);

// Copies at most capacity - 1 characters and always terminates (when capacity > 0).
// Returns false when the source was cut. A cut never splits a double-byte character.
bool CopyText(char* destination, size_t capacity, const char* source);
// Appends like CopyText; returns false when the result was cut.
bool AppendText(char* destination, size_t capacity, const char* source);
// snprintf into a fixed buffer; returns false when the result was cut.
bool FormatText(char* destination, size_t capacity, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;
// Puts `argument` in place of the first "%s" of a format that may come from a
// translation: "%%" gives "%", every other "%" stays as it is, so no format text can
// make the formatter read arguments that are not there. Returns false when cut.
bool SubstituteText(char* destination, size_t capacity, const char* format, const char* argument);
// Cuts a text that was cut at a byte boundary back to the last whole character.
void TrimPartialChar(char* text);
