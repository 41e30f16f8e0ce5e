// Stands in for the programs the setup starts: each start appends "command line|current
// directory" to the program's name with ".log" added, then waits (at most a minute) for
// the event STANDIN_HOLD names, if any, so that a test can count live starts.
#include <windows.h>

#include <string>

#include "test_files.h"
#include "test_process.h"

namespace {

constexpr DWORD kHoldLimit = 60000;

void AppendLine(const std::string& file, const std::string& line) {
  // Several stand-ins may start at once: appends never overwrite each other, and a
  // moment of sharing conflict is waited out.
  for (int attempt = 0; attempt < 100; ++attempt) {
    HANDLE log = CreateFileA(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      CloseHandle(log);
      return;
    }
    Sleep(10);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char self[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
  if (length == 0 || length >= sizeof self) return 1;
  AppendLine(std::string(self) + ".log",
             std::string(GetCommandLineA()) + "|" + test_support::CurrentFolder() + "\n");

  const std::string holdEvent = test_support::EnvironmentValue("STANDIN_HOLD");
  if (!holdEvent.empty()) {
    HANDLE hold = OpenEventA(SYNCHRONIZE, FALSE, holdEvent.c_str());
    if (hold != nullptr) {
      WaitForSingleObject(hold, kHoldLimit);
      CloseHandle(hold);
    }
  }
  return 0;
}
