// Driving the setup flow of uninstall.exe as a user would: a scratch installation
// folder with a stand-in archiver, the program started there, its dialogs found and
// their controls read and pressed from this process. The help viewer, the document
// and folder openers and the browser are stand-ins that record what they were asked.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace setup_test {

// Long enough for a loaded machine; a test that fails waits this long once.
constexpr DWORD kTimeout = 20000;

// Waits until `condition` holds, handling this thread's messages meanwhile (the help
// viewer stand-in lives on this thread). False on timeout.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeout = kTimeout);
// Handles this thread's messages for `milliseconds`.
void PumpFor(DWORD milliseconds);

// Lets Wine draw the frames of the programs started from now on instead of leaving
// them to a window manager. The test display has none: without this, every window
// that closes waits two seconds for the window manager's answer, and pictures of
// dialogs lack their title bars.
void UseUnmanagedWindows();

// The lines a stand-in program recorded, one per start.
std::vector<std::string> RecordedStarts(const std::string& standInPath);
// The argument part of a recorded line: what follows the program in the command line,
// before the "|" and the current directory.
std::string RecordedArguments(const std::string& line);
std::string RecordedFolder(const std::string& line);

// Language files that scale SETUPDLG by 120*100, and that turn every dialog right to left.
std::string ScalingLanguageFile();
std::string RightToLeftLanguageFile();

// A fresh installation folder with blanks in its path, holding a copy of uninstall.exe
// and the stand-in archiver Zendra.exe, "license.txt" and "order.txt".
struct Installation {
  std::string folder;  // without a trailing backslash, as the current directory reads
  std::string File(const char* name) const { return folder + "\\" + name; }
  std::string Program() const { return File("uninstall.exe"); }
  std::string Archiver() const { return File("Zendra.exe"); }
};
Installation MakeInstallation();

// The openers that the shell starts for ".txt" documents, folders and "https"
// addresses are pointed at copies of the stand-in.
struct Openers {
  std::string documents;
  std::string folders;
  std::string webPages;
};
Openers RegisterOpeners();

// Removes everything a setup writes: the per-user options, the archiver's classes and
// extensions, the shell extension entries, App Paths and Uninstall entries, shortcuts
// and program groups. Then lets another program own ".iso" (or nobody, for an empty
// class).
void ResetSetupState(const char* isoOwner);

// One run of the program, started in the installation folder or in `currentFolder`.
class SetupProcess {
 public:
  SetupProcess(const Installation& installation, const char* arguments,
               const std::string& currentFolder = "");
  ~SetupProcess();
  SetupProcess(const SetupProcess&) = delete;
  SetupProcess& operator=(const SetupProcess&) = delete;

  bool Started() const { return process_ != nullptr; }
  // Waits for the process to end; false on timeout.
  bool WaitForExit(DWORD timeout = kTimeout);
  bool HasExited() const;

  // The visible dialog of this process that has the given control; null when none.
  HWND FindSetupDialog() const;
  HWND FindContextItemsDialog() const;
  HWND FindDoneDialog() const;
  // The same, waiting until the dialog is up.
  HWND WaitForSetupDialog() const;
  HWND WaitForContextItemsDialog() const;
  HWND WaitForDoneDialog() const;
  // The visible windows of the process with their classes, styles and control
  // identifiers, for failure messages.
  std::string DescribeWindows() const;

 private:
  HWND FindDialog(const std::function<bool(HWND)>& isWanted) const;
  HWND WaitForDialog(const std::function<bool(HWND)>& isWanted) const;

  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
};

bool IsChecked(HWND dialog, int control);
bool IsEnabled(HWND dialog, int control);
std::string ControlText(HWND dialog, int control);
// Clicks a check box or a button that does not open or close a dialog, and returns
// when the dialog has handled the click.
void Click(HWND dialog, int control);
// Presses a button and returns at once (for buttons that open or end a dialog).
void Press(HWND dialog, int control);
// The close box of the title bar.
void PressCloseBox(HWND dialog);
// F1 on the dialog, through the keyboard input of the system.
void PressF1(HWND dialog);

// What a help request asked for.
struct HelpRequest {
  UINT command;
  LONG data;
  std::string file;
};

// A stand-in for the help viewer: the system's help function finds a window of the
// viewer's class and hands it each request. Lives on the creating thread, which must
// handle its messages (WaitUntil and PumpFor do).
class HelpViewerStandIn {
 public:
  HelpViewerStandIn();
  ~HelpViewerStandIn();
  HelpViewerStandIn(const HelpViewerStandIn&) = delete;
  HelpViewerStandIn& operator=(const HelpViewerStandIn&) = delete;

  const std::vector<HelpRequest>& Requests() const { return requests_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  std::vector<HelpRequest> requests_;
};

}  // namespace setup_test
