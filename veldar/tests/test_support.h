// Helpers shared by the installer's Windows tests: scratch folders, files, texts in
// the ANSI code page, and VELDAR.exe started as a separate process and watched from
// the outside (its windows and message boxes found, read and answered).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace veldar_test {

// The folder of the running test program, with a trailing backslash.
std::string TestFolder();
// A fresh, empty folder below the test program's current folder, named for the test.
std::string MakeScratchFolder(const std::string& name);
// UTF-8 text (for expected Chinese texts) in the ANSI code page.
std::string Ansi(const char* utf8);

bool WriteWholeFile(const std::string& name, const std::string& bytes);
// The file's bytes; "<missing>" when it cannot be read.
std::string ReadWholeFile(const std::string& name);
// Lines joined with CR LF after each, as the installer writes them.
std::string JoinLines(const std::vector<std::string>& lines);

// A started VELDAR.exe (or another program). The process is ended when the object
// goes away, so a failing test leaves nothing running.
class Process {
 public:
  Process() = default;
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  // Starts the program with the arguments (already quoted as needed) in folder; with
  // a show command (SW_HIDE, ...) as a setup package would give it.
  bool Start(const std::string& program, const std::string& arguments, const std::string& folder,
             int show = -1);
  // Exit code, or -1 when it does not end within timeoutMs.
  int Wait(DWORD timeoutMs);
  bool Running() const;
  DWORD Id() const { return id_; }

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

// The first visible top-level window of the process with this class ("#32770" for
// message boxes and dialogs), waiting up to timeoutMs for it. Null if none came.
HWND WaitForWindow(DWORD processId, const char* className, DWORD timeoutMs);
// The text of a message box (its static control 65535).
std::string MessageBoxText(HWND box);
std::string WindowTitle(HWND window);
// The text of a control of another process (asked of the control itself).
std::string ControlText(HWND control);
// Presses a button of a dialog or message box (IDOK, IDYES, IDNO, ...).
void PressButton(HWND dialog, int buttonId);
// Waits until the window is gone.
bool WaitForWindowGone(HWND window, DWORD timeoutMs);

// Rows of a query against a copy of the SQLite database file that a run made in
// folder, each row its columns joined by "|". The connection string names the file.
std::vector<std::string> QueryRunDatabase(const std::string& folder, const std::string& connection,
                                          const std::string& query);

}  // namespace veldar_test
