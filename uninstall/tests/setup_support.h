// Driving the setup flow of uninstall.exe as a user would: a scratch installation
// folder with a stand-in archiver, the program started there, its dialogs found and
// their controls read and pressed from this process. The document and folder openers
// and the browser are stand-ins that record what they were asked.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "integration_support.h"
#include "test_process.h"
#include "test_windows.h"

namespace uninstall_test {

// The lines a stand-in program recorded, one per start.
std::vector<std::string> RecordedStarts(const std::string& standInPath);
// The argument part of a recorded line: what follows the program in the command line,
// before the "|" and the current directory.
std::string RecordedArguments(const std::string& line);
std::string RecordedFolder(const std::string& line);

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

// Removes the archiver's footprint, then lets another program own ".iso" (or nobody,
// for an empty class).
void ResetSetupState(const char* isoOwner);

// One run of the program, started in the installation folder or in `currentFolder`.
class SetupProcess : public Process {
 public:
  SetupProcess(const Installation& installation, const char* arguments,
               const std::string& currentFolder = "");

  // The visible dialog of this process; null when none.
  HWND FindSetupDialog() const;
  HWND FindContextItemsDialog() const;
  HWND FindDoneDialog() const;
  // The same, waiting until the dialog is up.
  HWND WaitForSetupDialog() const;
  HWND WaitForContextItemsDialog() const;
  HWND WaitForDoneDialog() const;
  // Opens the menu items dialog from the setup dialog; null when it did not come.
  HWND OpenContextItems(HWND setupDialog) const;
  // Closes the menu items dialog with `button`; false when it did not go.
  bool CloseContextItems(HWND items, int button) const;
};

}  // namespace uninstall_test
