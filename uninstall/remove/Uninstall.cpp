#include "remove/Uninstall.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "base/Components.h"
#include "base/Handle.h"
#include "base/TextHelpers.h"
#include "base/WinVersion.h"
#include "integration/AppEntries.h"
#include "integration/Associations.h"
#include "integration/ProgramFolder.h"
#include "integration/SetupOptions.h"
#include "integration/ShellExtension.h"
#include "integration/Shortcuts.h"
#include "language/ExtResource.h"
#include "language/MessageText.h"
#include "registry/Registry.h"
#include "remove/DeletionPasses.h"
#include "remove/InstallationList.h"
#include "remove/RestartRemoval.h"
#include "remove/UninstallRights.h"
#include "remove/SelfRemovalBatch.h"
#include "resources/resource.h"

namespace {

constexpr size_t kErrorTextSize = 200;

// The registry and shell clean-up: the archiver's associations (given back to their
// earlier owners), its shell extension, its shortcuts and program groups, its classes,
// its App Paths entry and its per-user settings. Its Uninstall entry goes once the
// files are gone (RunUninstall).
void RemoveRegistration() {
  // Every option off: each operation removes what the setup made.
  const SetupOptions nothing;
  SetAssociations(nothing);
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_FLUSH, nullptr, nullptr);
  SetShellExtension(nothing);
  SetShortcuts(nothing);
  for (const char* key : {kArchiveClass, kZipClass, kRecoveryClass, kRecoveryExtension})
    DeleteKeyTree(HKEY_CLASSES_ROOT, key);
  DeleteKey(HKEY_LOCAL_MACHINE, kAppPathsKey);
  // The empty name is the archiver's own per-user key, with the association backups.
  DeleteKeyTree(HKEY_CURRENT_USER, "");
}

bool ConfirmUninstall() {
  return MessageBoxA(nullptr, GetMessageText(IDS_CONFIRM_UNINSTALL), GetMessageText(IDS_UNINSTALL_CAPTION),
                     MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND) == IDYES;
}

void ShowListError() {
  char text[kErrorTextSize];
  SubstituteText(text, sizeof text, GetMessageText(IDS_LIST_NOT_OPENED), components::kInstallationList);
  MessageBoxA(nullptr, text, GetMessageText(IDS_UNINSTALL_CAPTION), MB_ICONERROR | MB_SETFOREGROUND);
}

// This program's full file name and its folder (see CutToFolder).
bool FindProgramFolder(char (&program)[kPathSize], char (&folder)[kPathSize]) {
  return GetProgramPath(program, sizeof program) && CopyText(folder, sizeof folder, program) &&
         CutToFolder(folder);
}

}  // namespace

void RemoveProgramAtRestart() {
  char program[kPathSize];
  char folder[kPathSize];
  char list[kPathSize];
  if (!FindProgramFolder(program, folder) || !CopyText(list, sizeof list, folder)) return;
  AddEndSlash(list, sizeof list);
  // Only while the batch runs, which the uninstall starts once the list is gone: a
  // "/warning" started by hand removes nothing.
  if (!AppendText(list, sizeof list, components::kInstallationList) ||
      GetFileAttributesA(list) != INVALID_FILE_ATTRIBUTES ||
      !SelfRemovalBatchExists(program, folder, GetWinNtVersion() != 0))
    return;
  RemoveAtRestart({{program, false}}, folder);
}

void RunUninstall() {
  char program[kPathSize];
  char programFolder[kPathSize];
  if (!FindProgramFolder(program, programFolder)) return;
  // The list is opened relative to the current directory: it must be the program's.
  if (!SetCurrentDirectoryA(programFolder)) return;
  char folder[kPathSize];
  CopyText(folder, sizeof folder, programFolder);
  AddEndSlash(folder, sizeof folder);

  if (!CheckUninstallRights() || !ConfirmUninstall()) return;
  FileStream list(fopen(components::kInstallationList, "rb"));
  if (!list) {
    ShowListError();
    return;
  }

  // This program can only go through the batch. Whether the batch can be written and
  // started is settled before anything is deleted: when it cannot, nothing changes, as
  // when the confirmation is declined.
  const bool ntFamily = GetWinNtVersion() != 0;
  SelfRemovalBatch batch;
  if (!PrepareSelfRemovalBatch(program, ntFamily, &batch)) return;

  RemoveRegistration();
  // From here on the texts come from the program itself, and the library file can go.
  extResource.Unload();
  DeleteHelpIndexFiles();
  RunDeletionPasses(list.Get(), folder);
  std::vector<Leftover> leftovers = FindLeftovers(list.Get(), folder, program);
  list.Reset();
  // Like the listed files, a read-only list must not keep the folder from going.
  SetFileAttributesA(components::kInstallationList, 0);
  DeleteFileA(components::kInstallationList);
  // What is in use (the shell extension that Explorer keeps loaded) goes at the restart.
  RemoveAtRestart(leftovers, programFolder);
  // Until here an uninstall that was ended can be started again from the entry.
  DeleteKey(HKEY_LOCAL_MACHINE, kUninstallKey);

  // Neither this process nor the batch, which inherits the current directory, may keep
  // the folder in use.
  SetCurrentDirectoryA("..");
  StartBatchProcess(&batch.command, ntFamily);
  ExitProcess(0);
}
