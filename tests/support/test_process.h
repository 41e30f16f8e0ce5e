// Programs under test started as processes of their own and watched from the test.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace test_support {

// How long a test waits for what it expects before it fails: long enough for Wine on a
// loaded machine (a prefix's first start, a restart), and waited only by a failing test.
constexpr DWORD kTimeout = 60000;

// Waits until `condition` holds, handling this thread's messages meanwhile (the test's
// own windows keep answering); false on timeout.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kTimeout);
// Handles this thread's messages for `milliseconds`.
void PumpFor(DWORD milliseconds);
// The value of an environment variable of this process; empty when it is not set.
std::string EnvironmentValue(const char* name);
// Starts a program of the host ("/bin/ln -s a b") and waits until `done` holds (Wine gives
// no handle to wait on for it); the host's name of a path on drive C: or Z:.
bool RunHostProgram(const std::string& commandLine, const std::function<bool()>& done);
std::string HostPath(const std::string& windowsPath);
// What follows the program's name in a command line, without the blanks before it.
std::string ArgumentsOf(const std::string& commandLine);

// How a running process was started, read from its process parameters (what Windows
// keeps of CreateProcess's arguments in the process), in the ANSI code page.
struct ProcessStart {
  std::string image, commandLine, directory;
  DWORD flags = 0, show = 0;  // STARTUPINFO's dwFlags and wShowWindow
};
// Of the process `id`, of this program's bitness; false when it cannot be read.
bool ReadProcessStart(DWORD id, ProcessStart* start);
// The process that started the process `id`; 0 when it is not known.
DWORD ParentProcessId(DWORD id);

// A started program, ended when the object goes away.
class Process {
 public:
  Process() = default;
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  // Starts `program` with `arguments` in `folder` (empty: the current one), with a show
  // command (SW_HIDE, ...) as a setup package would give it.
  bool Start(const std::string& program, const std::string& arguments, const std::string& folder = "",
             int show = -1);
  // Starts a whole command line, the program found as the system finds it.
  bool StartCommandLine(const std::string& commandLine, const std::string& folder = "");
  // The exit code, or -1 when the process does not end within `timeoutMs`.
  int Wait(DWORD timeoutMs = kTimeout);
  // Waits handling this thread's messages; false on timeout.
  bool WaitForExit(DWORD timeoutMs = kTimeout);
  bool Started() const { return process_ != nullptr; }
  bool Running() const;
  bool HasExited() const { return process_ != nullptr && !Running(); }
  DWORD Id() const { return id_; }
  // Ends the process with `code` unless it has ended.
  void End(UINT code = 99);

 private:
  bool Launch(const char* application, std::string commandLine, const std::string& folder, int show);

  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

}  // namespace test_support
