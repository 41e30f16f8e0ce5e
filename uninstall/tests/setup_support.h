// The setup of uninstall.exe driven as a user would, in a scratch installation with a
// stand-in archiver; the openers of documents, folders and web pages are stand-ins too.
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
// The arguments in a recorded line (after the program, before "|" and the current directory).
std::string RecordedArguments(const std::string& line);
std::string RecordedFolder(const std::string& line);

// A fresh installation (a path with blanks): uninstall.exe, the stand-in Zendra.exe, license.txt, order.txt.
struct Installation {
  std::string folder;  // as the current directory reads it: no trailing backslash but at a root
  std::string File(const std::string& name) const {
    return folder + (folder.back() == '\\' ? "" : "\\") + name;
  }
  std::string Program() const { return File("uninstall.exe"); }
  std::string Archiver() const { return File("Zendra.exe"); }
};
Installation MakeInstallation();
// Copies uninstall.exe and the stand-in archiver into the installation's folder.
void CopyPrograms(const Installation& installation);

// Points the shell's openers of ".txt" documents, folders and "https" addresses at copies of the stand-in.
struct Openers {
  std::string documents;
  std::string folders;
  std::string webPages;
};
Openers RegisterOpeners();

// Removes the archiver's footprint, then lets another program own ".iso" (nobody for an empty class).
void ResetSetupState(const char* isoOwner);

// The dialogs of the setup: its choices, the context-menu items, and the completion.
enum SetupDialog { kSetupDialog, kContextItemsDialog, kDoneDialog };

// One run of the program, started in the installation folder or in `currentFolder`.
class SetupProcess : public Process {
 public:
  SetupProcess(const Installation& installation, const char* arguments,
               const std::string& currentFolder = "");

  // The visible dialog of this process; null when none.
  HWND Find(SetupDialog dialog) const;
  // The same, waiting until the dialog is up.
  HWND WaitFor(SetupDialog dialog) const;
  // Opens the menu items dialog from the setup dialog; null when it did not come.
  HWND OpenContextItems(HWND setupDialog) const;
  // Closes the menu items dialog with `button`; false when it did not go.
  bool CloseContextItems(HWND items, int button) const;
};

}  // namespace uninstall_test
