#include "remove/BatchProcess.h"

#include <windows.h>

#include "base/TextHelpers.h"
#include "base/WinHandles.h"

namespace {

constexpr DWORD kComspecSize = 1024;

// A drive path ("C:\...") or a UNC path: nothing that a search could find in the
// program's folder or the current directory instead.
bool IsFullPath(const char* path) {
  bool drive = ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) && path[1] == ':' &&
               IsPathDiv(path[2]);
  return drive || (IsPathDiv(path[0]) && IsPathDiv(path[1]));
}

}  // namespace

bool MakeBatchCommandLine(const char* batch, char* commandLine, size_t capacity) {
  char comspec[kComspecSize];
  DWORD length = GetEnvironmentVariableA("COMSPEC", comspec, sizeof comspec);
  if (length == 0 || length >= sizeof comspec || !IsFullPath(comspec)) return false;
  // Quoted, so that a blank in the interpreter's path cannot start another program.
  return FormatText(commandLine, capacity, "\"%s\" /c \"%s\"", comspec, batch);
}

bool StartBatchProcess(char* commandLine, bool ntFamily) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  KernelHandle nul;
  if (ntFamily) {
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
  } else {
    // The standard handles are inherited by the batch process, so they must be
    // inheritable; without a console of its own it writes to nowhere.
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE device = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    if (device != INVALID_HANDLE_VALUE) nul.Reset(device);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = device;
  }
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, TRUE, ntFamily ? 0 : DETACHED_PROCESS, nullptr,
                      nullptr, &startup, &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}
