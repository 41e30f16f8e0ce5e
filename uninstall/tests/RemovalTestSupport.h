// Running the uninstall of uninstall.exe end to end under Wine: a fake installation of
// the archiver, the program started in it, its message boxes answered from this
// process, the self-removal batch waited for, and the registry compared before and
// after. The command interpreter can be replaced by a stand-in that records how the
// batch was started and keeps a copy of it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/IntegrationTestSupport.h"

namespace removal_test {

// Long enough for a loaded machine; a test that fails waits this long once.
constexpr DWORD kTimeout = 60000;

// A fake installation: uninstall.exe, a stand-in Zendra.exe, documents, nested folders,
// read-only, hidden and system files, the help index files, the test language library
// (optional) and an installation list naming all of it (optional).
struct Installation {
  std::string folder;  // as the current directory reads it: no trailing backslash but at a root
  std::string File(const std::string& name) const;
  std::string Program() const { return File("uninstall.exe"); }
  // The files and folders the list names, present before the uninstall.
  std::vector<std::string> ListedPaths() const;
};
Installation MakeInstallation(const std::string& folder, bool withLanguageLibrary = true,
                              bool withList = true);

// The list's text: the installed files with a folder before its files, CR LF and LF
// lines, trailing blanks and tabs, blank lines, a missing entry, the templates that the
// setup writes, and entries that point outside the folder (on the same drive as C:).
std::string InstallationListText();
// Files outside the installation that the list's outside entries name (beside the
// installation folder, and at the root of drive C:); each must survive the uninstall.
std::vector<std::string> OutsideFiles(const Installation& installation);
void MakeOutsideFiles(const Installation& installation);

// Another program owns ".zip" (class, content type, New-menu file) and ".iso".
void LetAnotherProgramOwnZipAndIso();

// What a message box of the program showed; `shown` false when none appeared.
struct Box {
  bool shown = false;
  std::string caption;
  std::string text;
};

// Runs uninstall.exe of the installation with `arguments`, in the installation folder.
// For each of `answers` (IDYES, IDNO, IDOK) in turn it waits for the program's next
// message box, reads it into `boxes` and presses that button. Returns the exit code,
// or 9999 when the program had not ended within the time limit (it is then ended).
DWORD RunProgram(const Installation& installation, const char* arguments,
                 const std::vector<int>& answers = {}, std::vector<Box>* boxes = nullptr);

// Waits until none of `paths` exists. A final notice ("/warning") that the batch shows
// meanwhile is read, pressed away and added to `notices`. False on timeout.
bool WaitUntilGone(const std::vector<std::string>& paths, std::vector<Box>* notices);

// The relevant registry: the classes, the archiver's per-user key, and the App Paths,
// Uninstall and shell extension lists of the machine.
integration_test::Snapshot RegistrySnapshot();
// Lines "+ name" and "- name" for the entries that were added or removed or changed.
std::vector<std::string> Differences(const integration_test::Snapshot& before,
                                     const integration_test::Snapshot& after);

// Puts the relevant registry back as `before` holds it: values added since are deleted
// with the keys added since, values removed or changed are written back. Tests that
// share a prefix use it so that none sees what an earlier one left.
void RestoreRegistry(const integration_test::Snapshot& before);

// The batch text the uninstall must write for the program `program` in `folder`.
std::string ExpectedBatch(const std::string& program, const std::string& folder, bool ntFamily);
// The full name of the batch file in the temporary folder.
std::string BatchPath();

// Replaces the command interpreter for the programs this process starts with the
// stand-in, which records into `record` (and `record`.bat); with `forward` it hands on
// to the real interpreter. Restores COMSPEC when destroyed.
class InterpreterStandIn {
 public:
  InterpreterStandIn(const std::string& record, bool forward);
  ~InterpreterStandIn();
  InterpreterStandIn(const InterpreterStandIn&) = delete;
  InterpreterStandIn& operator=(const InterpreterStandIn&) = delete;

  const std::string& Path() const { return path_; }
  // A recorded value ("command", "directory", "flags", "show", "stdout", "console");
  // "<none>" when there is no record.
  std::string Recorded(const char* name) const;
  std::string RecordedBatch() const;

 private:
  std::string record_;
  std::string path_;
  std::string savedComspec_;
};

// The real interpreter's full path.
std::string RealInterpreter();

}  // namespace removal_test
