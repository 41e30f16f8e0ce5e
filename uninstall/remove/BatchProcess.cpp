#include "remove/BatchProcess.h"

#include <windows.h>

#include "base/TextHelpers.h"
#include "base/WinHandles.h"

namespace {

// A drive path ("C:\...") or a UNC path: nothing that a search could find in the
// program's folder or the current directory instead.
bool IsFullPath(const char* path) {
  bool drive = ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) && path[1] == ':' &&
               IsPathDiv(path[2]);
  return drive || (IsPathDiv(path[0]) && IsPathDiv(path[1]));
}

}  // namespace

bool MakeBatchCommand(const char* batch, const char* batchFolder, bool ntFamily, BatchCommand* command) {
  char* interpreter = command->interpreter;
  if (ntFamily) {
    UINT length = GetSystemDirectoryA(interpreter, sizeof command->interpreter);
    if (length == 0 || length >= sizeof command->interpreter ||
        !AppendText(interpreter, sizeof command->interpreter, "\\cmd.exe"))
      return false;
    return FormatText(command->line, sizeof command->line, "\"%s\" /d /s /c \"\"%s\" & rd \"%s\"\"",
                      interpreter, batch, batchFolder);
  }
  DWORD length = GetEnvironmentVariableA("COMSPEC", interpreter, sizeof command->interpreter);
  if (length == 0 || length >= sizeof command->interpreter || !IsFullPath(interpreter)) return false;
  // Quoted, so that a blank in the interpreter's path cannot start another program.
  return FormatText(command->line, sizeof command->line, "\"%s\" /c \"%s\"", interpreter, batch);
}

bool StartBatchProcess(BatchCommand* command, bool ntFamily) {
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
  // On the NT family the interpreter by its full path, so that nothing is searched for.
  if (!CreateProcessA(ntFamily ? command->interpreter : nullptr, command->line, nullptr, nullptr, TRUE,
                      ntFamily ? 0 : DETACHED_PROCESS, nullptr, nullptr, &startup, &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}
