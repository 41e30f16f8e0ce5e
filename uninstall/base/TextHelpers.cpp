#include "base/TextHelpers.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

DbcsTable dbcsTable;

DbcsTable::DbcsTable() {
  LoadFromSystem();
}

void DbcsTable::LoadFromSystem() {
  for (int i = 0; i < 256; ++i) leadByte[i] = false;
  multiByte = false;
#ifdef _WIN32
  for (int i = 0; i < 256; ++i) leadByte[i] = IsDBCSLeadByte(static_cast<BYTE>(i)) != FALSE;
  CPINFO info;
  multiByte = GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 1;
#endif
}

const char* NextChar(const char* position) {
  if (dbcsTable.multiByte && dbcsTable.leadByte[static_cast<unsigned char>(*position)] && position[1] != '\0')
    return position + 2;
  return position + 1;
}

char* NextChar(char* position) {
  return const_cast<char*>(NextChar(static_cast<const char*>(position)));
}

const char* PointToName(const char* path) {
  const char* name = nullptr;
  for (const char* p = path; *p != '\0'; p = NextChar(p)) {
    if (IsPathDiv(*p)) name = p + 1;
  }
  if (name != nullptr) return name;
  // "C:name": a drive letter (one single-byte character) and a colon.
  if (path[0] != '\0' && NextChar(path) == path + 1 && IsDriveDiv(path[1])) return path + 2;
  return path;
}

char* PointToName(char* path) {
  return const_cast<char*>(PointToName(static_cast<const char*>(path)));
}

const char* FindLastChar(const char* text, char c) {
  const char* last = nullptr;
  for (const char* p = text; *p != '\0'; p = NextChar(p))
    if (*p == c) last = p;
  return last;
}

char* FindLastChar(char* text, char c) {
  return const_cast<char*>(FindLastChar(static_cast<const char*>(text), c));
}

const char* PointToLastChar(const char* text) {
  const char* last = text;
  for (const char* p = text; *p != '\0'; p = NextChar(p)) last = p;
  return last;
}

char* PointToLastChar(char* text) {
  return const_cast<char*>(PointToLastChar(static_cast<const char*>(text)));
}

void AddEndSlash(char* path, size_t capacity) {
  if (path[0] == '\0' || *PointToLastChar(path) == '\\') return;
  size_t length = strlen(path);
  if (length + 2 > capacity) return;
  path[length] = '\\';
  path[length + 1] = '\0';
}

char* RemoveTrailingSpaces(char* text) {
  size_t length = strlen(text);
  while (length > 0) {
    char c = text[length - 1];
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') break;
    --length;
  }
  text[length] = '\0';
  return text;
}

void TrimPartialChar(char* text) {
  // Walk whole characters; a lead byte whose trail byte was cut away goes.
  char* p = text;
  while (*p != '\0') {
    if (dbcsTable.multiByte && dbcsTable.leadByte[static_cast<unsigned char>(*p)] && p[1] == '\0') {
      *p = '\0';
      return;
    }
    p = NextChar(p);
  }
}

bool CopyText(char* destination, size_t capacity, const char* source) {
  if (capacity == 0) return source[0] == '\0';
  size_t length = strlen(source);
  if (length < capacity) {
    memmove(destination, source, length + 1);
    return true;
  }
  memmove(destination, source, capacity - 1);
  destination[capacity - 1] = '\0';
  TrimPartialChar(destination);
  return false;
}

bool AppendText(char* destination, size_t capacity, const char* source) {
  size_t length = strnlen(destination, capacity);
  if (length >= capacity) return false;
  return CopyText(destination + length, capacity - length, source);
}

bool FormatText(char* destination, size_t capacity, const char* format, ...) {
  if (capacity == 0) return false;
  va_list arguments;
  va_start(arguments, format);
  int written = vsnprintf(destination, capacity, format, arguments);
  va_end(arguments);
  if (written < 0) {
    destination[0] = '\0';
    return false;
  }
  if (static_cast<size_t>(written) >= capacity) {
    TrimPartialChar(destination);
    return false;
  }
  return true;
}

bool SubstituteText(char* destination, size_t capacity, const char* format, const char* argument) {
  if (capacity == 0) return false;
  size_t n = 0;
  bool substituted = false;
  auto put = [&](char c) {
    if (n + 1 >= capacity) return false;
    destination[n++] = c;
    return true;
  };
  bool whole = true;
  for (const char* p = format; *p != '\0' && whole; ++p) {
    if (p[0] == '%' && p[1] == '%') {
      whole = put('%');
      ++p;
    } else if (p[0] == '%' && p[1] == 's' && !substituted) {
      for (const char* a = argument; *a != '\0' && whole; ++a) whole = put(*a);
      substituted = true;
      ++p;
    } else {
      whole = put(*p);
    }
  }
  destination[n] = '\0';
  if (!whole) TrimPartialChar(destination);
  return whole;
}
