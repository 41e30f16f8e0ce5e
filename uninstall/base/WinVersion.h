// The platform test and the helpers that need the system's text functions.
#pragma once

#include <windows.h>

// What GetVersionExA reports, read from the system on the first call only. When the
// system does not answer, Windows 2000 (NT 5.0) is assumed.
struct WindowsVersion {
  bool ntFamily;
  int major;
  int minor;
};
const WindowsVersion& GetWindowsVersion();

// The major version of Windows on the NT family, 0 on Windows 95, 98 and Me.
int GetWinNtVersion();

// Three-way comparison that ignores letter case (user locale); 0 means equal.
int CompareNoCase(const char* a, const char* b);

// Copies a UTF-16 string with its terminator into a buffer of `capacity` characters,
// cutting it when it does not fit.
void CopyWide(wchar_t* destination, size_t capacity, const wchar_t* source);
