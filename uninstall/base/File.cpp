#include "base/File.h"

#include "base/ErrorState.h"
#include "base/TextHelpers.h"
#include "base/WinVersion.h"

namespace {
// Console and pipe reads fail for large counts on some systems; they are retried once
// with a count that those devices accept.
constexpr int kDeviceReadLimit = 20000;
}  // namespace

File::~File() {
  Close();
}

bool File::Open(const char* ansiName, const wchar_t* wide, bool forWriting, bool shareWrite) {
  DWORD access = GENERIC_READ | (forWriting ? GENERIC_WRITE : 0);
  DWORD share = FILE_SHARE_READ | (shareWrite ? FILE_SHARE_WRITE : 0);
  HANDLE opened;
  if (GetWinNtVersion() != 0 && wide != nullptr && wide[0] != L'\0')
    opened = CreateFileW(wide, access, share, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  else
    opened = CreateFileA(ansiName, access, share, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return false;
  Close();
  handle = opened;
  if (wide != nullptr)
    CopyWide(wideName, kNameSize, wide);
  else
    wideName[0] = L'\0';
  CopyText(name, sizeof name, ansiName);
  return true;
}

int File::Read(void* buffer, int count) {
  if (count < 0) return -1;
  DWORD read = 0;
  if (ReadFile(handle, buffer, static_cast<DWORD>(count), &read, nullptr)) return static_cast<int>(read);
  DWORD type = GetFileType(handle);
  if ((type == FILE_TYPE_CHAR || type == FILE_TYPE_PIPE) && count > kDeviceReadLimit) {
    if (ReadFile(handle, buffer, kDeviceReadLimit, &read, nullptr)) return static_cast<int>(read);
  }
  errorState.ReadError();
  return -1;
}

void File::Seek(int64_t offset, int method) {
  if (!IsOpen()) return;
  LONG high = static_cast<LONG>(offset >> 32);
  SetLastError(NO_ERROR);
  DWORD low = SetFilePointer(handle, static_cast<LONG>(offset & 0xFFFFFFFF), &high, method);
  if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) errorState.SeekError();
}

int64_t File::Tell() {
  if (!IsOpen()) return 0;
  LONG high = 0;
  SetLastError(NO_ERROR);
  DWORD low = SetFilePointer(handle, 0, &high, FILE_CURRENT);
  if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) {
    errorState.SeekError();
    return 0;
  }
  return (static_cast<int64_t>(high) << 32) | low;
}

bool File::Close() {
  if (handle == INVALID_HANDLE_VALUE) return true;
  BOOL closed = CloseHandle(handle);
  handle = INVALID_HANDLE_VALUE;
  if (!closed) {
    errorState.CloseError();
    return false;
  }
  return true;
}
