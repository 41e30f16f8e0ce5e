#include "setup/RunProgram.h"

#include <string>

#include "base/WinHandles.h"

bool RunProgram(const char* commandLine, const char* directory, DWORD waitMilliseconds) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  // CreateProcess may write into the command line it is given.
  std::string command = commandLine;
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, directory, &startup,
                      &process)) {
    return false;
  }
  KernelHandle processHandle(process.hProcess);
  KernelHandle threadHandle(process.hThread);
  if (waitMilliseconds != 0) WaitForSingleObject(processHandle.Get(), waitMilliseconds);
  return true;
}
