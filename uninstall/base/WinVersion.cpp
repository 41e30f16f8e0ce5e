#include "base/WinVersion.h"

namespace {
WindowsVersion cachedVersion;
bool versionRead = false;
}  // namespace

const WindowsVersion& GetWindowsVersion() {
  if (versionRead) return cachedVersion;
  versionRead = true;
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&info)) {
#pragma GCC diagnostic pop
    cachedVersion = {true, 5, 0};
    return cachedVersion;
  }
  cachedVersion = {info.dwPlatformId == VER_PLATFORM_WIN32_NT, static_cast<int>(info.dwMajorVersion),
                   static_cast<int>(info.dwMinorVersion)};
  return cachedVersion;
}

int GetWinNtVersion() {
  const WindowsVersion& version = GetWindowsVersion();
  return version.ntFamily ? version.major : 0;
}

int CompareNoCase(const char* a, const char* b) {
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE | SORT_STRINGSORT, a, -1, b, -1) - 2;
}

void CopyWide(wchar_t* destination, size_t capacity, const wchar_t* source) {
  if (capacity == 0) return;
  size_t i = 0;
  for (; i + 1 < capacity && source[i] != L'\0'; ++i) destination[i] = source[i];
  destination[i] = L'\0';
}
