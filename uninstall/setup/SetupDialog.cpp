#include "setup/SetupDialog.h"

#include <richedit.h>

#include "base/Components.h"
#include "integration/AppEntries.h"
#include "resources/resource.h"
#include "setup/ContextItemsDialog.h"
#include "setup/DialogData.h"
#include "setup/DialogHook.h"
#include "setup/SetupOptionsStore.h"
#include "setup/SetupOptionsView.h"
#include "setup/SetupRights.h"

namespace {

constexpr char kTemplateName[] = "SETUPDLG";

struct SetupDialog {
  HWND window = nullptr;
  AppState* app = nullptr;
  // The choices, held only while the dialog is open.
  SetupOptions options;
};

INT_PTR OnInitDialog(SetupDialog& dialog) {
  dialog.options = ReadSetupOptions();
  ShowSetupOptions(dialog.window, dialog.options);
  SetForegroundWindow(dialog.window);
  SendMessageA(dialog.window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(dialog.app->icon));
  // The explanation sits on the dialog's face colour, not on a white edit field.
  SendDlgItemMessageA(dialog.window, IDC_EXPLANATION, EM_SETBKGNDCOLOR, 0, GetSysColor(COLOR_BTNFACE));
  if (dialog.app->silent) SendMessageA(dialog.window, WM_COMMAND, IDOK, 0);
  return TRUE;
}

void OnOk(SetupDialog& dialog) {
  dialog.options = CollectSetupOptions(dialog.window);
  StoreSetupOptions(dialog.options);
  ApplySetupOptions(dialog.options, dialog.app->programGroupPath, sizeof dialog.app->programGroupPath);
  WriteUninstallEntry();
  EndDialog(dialog.window, 1);
}

// Enables the context-menu boxes exactly when Explorer integration is checked.
void OnShellIntegrationClick(SetupDialog& dialog) {
  SetupOptions shown = CollectSetupOptions(dialog.window);
  ShowSetupOptions(dialog.window, shown);
}

INT_PTR OnCommand(SetupDialog& dialog, int control) {
  switch (control) {
    case IDOK:
      OnOk(dialog);
      break;
    case IDCANCEL:
      EndDialog(dialog.window, 0);
      break;
    case IDC_SHELL_INTEGRATION:
      OnShellIntegrationClick(dialog);
      break;
    case IDC_SELECT_ALL:
      CheckAllAssociations(dialog.window);
      break;
    case IDC_CONTEXT_ITEMS:
      RunContextItemsDialog(dialog.window);
      break;
    default:
      break;
  }
  return TRUE;
}

INT_PTR CALLBACK SetupDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  PreprocessDialogMessage(window, message, wParam, lParam, components::kSetupHelpTopic, kTemplateName);
  return DispatchDialogMessage<SetupDialog>(window, message, wParam, lParam, OnInitDialog, OnCommand);
}

}  // namespace

INT_PTR RunSetupDialog(AppState& app) {
  // Without the rights the setup changes nothing, as after Cancel.
  if (!CheckSetupRights(app)) return 0;
  SetupDialog dialog;
  dialog.app = &app;
  return RunDialog(kTemplateName, nullptr, SetupDialogProc, dialog);
}
