// The uninstall end to end under Wine: a fake installation, the program started in it,
// its message boxes answered, the self-removal batch waited for; and a stand-in for the
// command interpreter that records how the batch was started.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "base/WinHandles.h"
#include "setup_support.h"
#include "test_caller.h"
#include "test_windows.h"

namespace uninstall_test {

// A fake installation: uninstall.exe, a stand-in Zendra.exe, documents, nested folders,
// read-only, hidden and system files, the help index files, the test language library
// (optional) and an installation list naming all of it (optional).
struct RemovalInstallation : Installation {
  // The files and folders the list names, present before the uninstall.
  std::vector<std::string> ListedPaths() const;
};
RemovalInstallation MakeRemovalInstallation(const std::string& folder, bool withLanguageLibrary = true,
                                            bool withList = true);

// Files outside the installation that the list's outside entries name (beside the
// installation folder, and at the root of drive C:); each must survive the uninstall.
std::vector<std::string> OutsideFiles(const RemovalInstallation& installation);
void MakeOutsideFiles(const RemovalInstallation& installation);

// Runs the installation's uninstall.exe in its folder, answering its message boxes with `answers` in turn
// (read into `boxes`); the exit code, or -1 when it had not ended in time (it is then ended).
int RunProgram(const RemovalInstallation& installation, const char* arguments,
               const std::vector<int>& answers = {}, std::vector<BoxTexts>* boxes = nullptr,
               test_support::Caller caller = {});

// The batch text that the uninstall composes for the program `program` in `folder`, the batch being
// `batch` (on the NT family in its own folder).
std::string ExpectedBatch(const std::string& program, const std::string& folder, const std::string& batch,
                          bool ntFamily);
// What lies in the temporary folder under the batch's names ("Kzp*"), full paths; on the NT family the
// batch file in each folder.
std::vector<std::string> BatchEntries();
std::vector<std::string> BatchFiles();

// Puts `first` before the lines of the installation's list and `last` after them.
void ExtendList(const RemovalInstallation& installation, const std::string& first, const std::string& last);

// What the system deletes at the next restart (PendingFileRenameOperations), in order; that list emptied;
// Wine's restart, which carries out the list and WININIT.INI once the files are let go.
std::vector<std::string> PendingRemovals();
void ClearPendingRemovals();
void Restart(test_support::Caller caller = {});

// In a listed folder "shell", a listed library loaded and a listed file held open without delete sharing, as
// Explorer holds the shell extension and an editor a document. Aside: the file the library was renamed to
// ("~...", empty when none); Reinstall: the library copied again under its name.
struct FilesInUse {
  explicit FilesInUse(const RemovalInstallation& installation, test_support::Caller caller = {});
  void Release() { file.Reset(), library.Reset(); }
  std::string Aside() const;
  void Reinstall() const;

  const std::string folder, held, libraryPath;
  KernelHandle file;
  LibraryHandle library;
};

// Makes the stand-in the command interpreter of the programs this process starts, recording into `record`
// (and `record`.bat); with `forward` it hands on to the real one. Restores COMSPEC when destroyed.
class InterpreterStandIn {
 public:
  InterpreterStandIn(const std::string& record, bool forward);
  ~InterpreterStandIn();
  InterpreterStandIn(const InterpreterStandIn&) = delete;
  InterpreterStandIn& operator=(const InterpreterStandIn&) = delete;

  const std::string& Path() const { return path_; }
  // A recorded value ("command", "directory", "flags", "show", "stdout", "console");
  // "<none>" when there is no record.
  std::string Recorded(const char* name) const { return RecordField(ReadFileBytes(record_), name); }
  std::string RecordedBatch() const { return ReadFileBytes(record_ + ".bat"); }

 private:
  std::string record_;
  std::string path_;
  std::string savedComspec_;
};

}  // namespace uninstall_test
