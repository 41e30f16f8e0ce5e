#include "setup/DoneDialog.h"

#include <shellapi.h>

#include <string>

#include "base/Components.h"
#include "base/TextHelpers.h"
#include "base/WinHandles.h"
#include "language/MessageText.h"
#include "resources/resource.h"
#include "setup/DialogData.h"
#include "setup/DialogHook.h"

namespace {

constexpr char kTemplateName[] = "DONEDLG";
// DONEDLG has no help topic: F1 does nothing here.
constexpr int kNoHelp = 0;

struct DoneDialog {
  HWND window = nullptr;
  const AppState* app = nullptr;
};

// A file of the installation folder, which is the current directory when the archiver's
// installer starts the setup. False when the path does not fit.
bool MakeInstallationPath(const char* fileName, char* path, size_t capacity) {
  DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(capacity), path);
  if (length == 0 || length >= capacity) return false;
  AddEndSlash(path, capacity);
  return AppendText(path, capacity, fileName);
}

// Starts `commandLine` in `directory` (null: this process's current directory). With
// `waitMilliseconds` not 0 it waits that long for the program to end. True when the
// program was started.
bool RunProgram(const char* commandLine, const char* directory, DWORD waitMilliseconds) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  // CreateProcess may write into the command line it is given.
  std::string command = commandLine;
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, directory, &startup,
                      &process)) {
    return false;
  }
  KernelHandle processHandle(process.hProcess);
  KernelHandle threadHandle(process.hThread);
  if (waitMilliseconds != 0) WaitForSingleObject(processHandle.Get(), waitMilliseconds);
  return true;
}

void OpenDocument(const char* document) {
  ShellExecuteA(nullptr, "open", document, nullptr, "", SW_SHOWNORMAL);
}

INT_PTR OnInitDialog(DoneDialog& dialog) {
  SendMessageA(dialog.window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(dialog.app->icon));
  SendDlgItemMessageA(dialog.window, IDC_THANKS, WM_SETFONT,
                      reinterpret_cast<WPARAM>(dialog.app->boldFont.Get()), FALSE);
  char folder[kPathSize];
  DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
  if (length != 0 && length < sizeof folder) SetDlgItemTextA(dialog.window, IDC_INSTALL_FOLDER, folder);
  if (dialog.app->silent) SendMessageA(dialog.window, WM_COMMAND, IDOK, 0);
  return TRUE;
}

void OnRunArchiver() {
  char path[kPathSize];
  if (!MakeInstallationPath(components::kArchiver, path, sizeof path)) return;
  // Quoted, so that a folder with blanks never starts a program named after the part
  // of the path before the first blank.
  char command[kPathSize + 2];
  if (FormatText(command, sizeof command, "\"%s\"", path)) RunProgram(command, nullptr, 0);
}

void OnOpenInstallationFile(const char* fileName) {
  char path[kPathSize];
  if (MakeInstallationPath(fileName, path, sizeof path)) OpenDocument(path);
}

INT_PTR OnCommand(DoneDialog& dialog, int control) {
  switch (control) {
    case IDOK:
    case IDCANCEL:
      EndDialog(dialog.window, 1);
      break;
    case IDC_RUN_ARCHIVER:
      OnRunArchiver();
      break;
    case IDC_READ_HELP:
      WinHelpA(dialog.window, components::kHelpFile, HELP_FINDER, 0);
      break;
    case IDC_VIEW_LICENSE:
      OnOpenInstallationFile(components::kLicense);
      break;
    case IDC_PRICE_LIST:
      OnOpenInstallationFile(components::kPriceList);
      break;
    case IDC_HOME_PAGE:
      OpenDocument(GetMessageText(IDS_HOME_PAGE));
      break;
    default:
      break;
  }
  return TRUE;
}

INT_PTR CALLBACK DoneDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  PreprocessDialogMessage(window, message, wParam, lParam, kNoHelp, kTemplateName);
  return DispatchDialogMessage<DoneDialog>(window, message, wParam, lParam, OnInitDialog, OnCommand);
}

}  // namespace

INT_PTR RunDoneDialog(const AppState& app) {
  DoneDialog dialog;
  dialog.app = &app;
  return RunDialog(kTemplateName, nullptr, DoneDialogProc, dialog);
}
