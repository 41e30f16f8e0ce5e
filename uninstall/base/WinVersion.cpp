#include "base/WinVersion.h"

namespace {
int platformId = -1;
int majorVersion = 0;
}  // namespace

int GetWinNtVersion() {
  if (platformId == -1) {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (GetVersionExA(&info)) {
#pragma GCC diagnostic pop
      platformId = static_cast<int>(info.dwPlatformId);
      majorVersion = static_cast<int>(info.dwMajorVersion);
    } else {
      platformId = VER_PLATFORM_WIN32_NT;
      majorVersion = 5;
    }
  }
  return platformId == VER_PLATFORM_WIN32_NT ? majorVersion : 0;
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
