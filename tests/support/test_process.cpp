#include "test_process.h"

#include <tlhelp32.h>
#include <winternl.h>

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

// The start of RTL_USER_PROCESS_PARAMETERS, as every Windows NT lays it out.
struct StartParameters {
  ULONG maximumLength, length, flags, debugFlags;
  HANDLE console;
  ULONG consoleFlags;
  HANDLE input, output, error;
  UNICODE_STRING directory;
  HANDLE directoryHandle;
  UNICODE_STRING dllPath, image, commandLine;
  void* environment;
  ULONG x, y, width, height, columns, rows, fillAttribute, windowFlags, showWindow;
};

template <class T>
bool ReadMemory(HANDLE process, const void* address, T* value) {
  SIZE_T read = 0;
  return ReadProcessMemory(process, address, value, sizeof *value, &read) && read == sizeof *value;
}

bool ReadText(HANDLE process, const UNICODE_STRING& text, std::string* ansi) {
  std::wstring wide(text.Length / sizeof(wchar_t), L'\0');
  SIZE_T read = 0;
  if (!wide.empty() && !ReadProcessMemory(process, text.Buffer, &wide[0], text.Length, &read)) return false;
  ansi->assign(wide.size() * 2 + 1, '\0');
  int length = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, &(*ansi)[0], static_cast<int>(ansi->size()),
                                   nullptr, nullptr);
  ansi->resize(length > 0 ? length - 1 : 0);
  return true;
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

bool ReadProcessStart(DWORD id, ProcessStart* start) {
  using Query = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
  auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id);
  if (process == nullptr) return false;
  PROCESS_BASIC_INFORMATION basic = {};
  PEB peb;
  StartParameters parameters;
  bool read = query != nullptr &&
              query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) == 0 &&
              ReadMemory(process, basic.PebBaseAddress, &peb) &&
              ReadMemory(process, peb.ProcessParameters, &parameters) &&
              ReadText(process, parameters.image, &start->image) &&
              ReadText(process, parameters.commandLine, &start->commandLine) &&
              ReadText(process, parameters.directory, &start->directory);
  CloseHandle(process);
  start->flags = parameters.windowFlags;
  start->show = parameters.showWindow;
  return read;
}

DWORD ParentProcessId(DWORD id) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  DWORD parent = 0;
  for (BOOL more = Process32First(snapshot, &entry); more && parent == 0;
       more = Process32Next(snapshot, &entry))
    if (entry.th32ProcessID == id) parent = entry.th32ParentProcessID;
  CloseHandle(snapshot);
  return parent;
}

}  // namespace test_support
