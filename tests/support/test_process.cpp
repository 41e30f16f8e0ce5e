#include "test_process.h"

#include <algorithm>
#include <cctype>

namespace test_support {

namespace {

void HandleMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    HandleMessages();
    if (condition()) return true;
    if (GetTickCount() - start > timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

void PumpFor(DWORD milliseconds) {
  WaitUntil([] { return false; }, milliseconds);
}

std::string EnvironmentValue(const char* name) {
  char value[MAX_PATH];
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

bool RunHostProgram(const std::string& commandLine, const std::function<bool()>& done) {
  return Process().StartCommandLine(commandLine) && WaitUntil(done);
}

std::string HostPath(const std::string& windowsPath) {
  std::string path = (toupper(windowsPath[0]) == 'C' ? EnvironmentValue("WINEPREFIX") + "/drive_c" : "") +
                     windowsPath.substr(2);
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

std::string ArgumentsOf(const std::string& commandLine) {
  const size_t programEnd = commandLine[0] == '"' ? commandLine.find('"', 1) + 1 : commandLine.find(' ');
  if (programEnd == std::string::npos || programEnd >= commandLine.size()) return "";
  const size_t start = commandLine.find_first_not_of(' ', programEnd);
  return start == std::string::npos ? "" : commandLine.substr(start);
}

Process::~Process() {
  if (process_ == nullptr) return;
  End();
  CloseHandle(process_);
}

bool Process::Start(const std::string& program, const std::string& arguments, const std::string& folder,
                    int show) {
  return Launch(program.c_str(), "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments), folder,
                show);
}

bool Process::StartCommandLine(const std::string& commandLine, const std::string& folder) {
  return Launch(nullptr, commandLine, folder, -1);
}

bool Process::Launch(const char* application, std::string commandLine, const std::string& folder, int show) {
  if (process_ != nullptr) {
    End();
    CloseHandle(process_);
    process_ = nullptr;
  }
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = show >= 0 ? STARTF_USESHOWWINDOW : 0;
  startup.wShowWindow = static_cast<WORD>(show >= 0 ? show : 0);
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(application, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
    return false;
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  id_ = info.dwProcessId;
  return true;
}

int Process::Wait(DWORD timeoutMs) {
  if (process_ == nullptr || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return static_cast<int>(code);
}

bool Process::WaitForExit(DWORD timeoutMs) {
  return process_ != nullptr && WaitUntil([this] { return HasExited(); }, timeoutMs);
}

bool Process::Running() const {
  return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

void Process::End(UINT code) {
  if (!Running()) return;
  TerminateProcess(process_, code);
  WaitForSingleObject(process_, kTimeout);
}

}  // namespace test_support
