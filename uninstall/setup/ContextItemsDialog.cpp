#include "setup/ContextItemsDialog.h"

#include "base/Components.h"
#include "resources/resource.h"
#include "setup/DialogData.h"
#include "setup/DialogHook.h"
#include "setup/SetupOptionsStore.h"

namespace {

constexpr char kTemplateName[] = "CONTEXTITEMS";

struct ContextItemsDialog {
  HWND window = nullptr;
  MenuItems items;
};

// The n-th item has the n-th check box.
int ItemBox(int item) {
  return IDC_MENU_EXTRACT_TO + item;
}

INT_PTR OnInitDialog(ContextItemsDialog& dialog) {
  dialog.items = ReadMenuItems();
  for (int i = 0; i < kMenuItemCount; ++i) {
    CheckDlgButton(dialog.window, ItemBox(i), dialog.items.shown[i] ? BST_CHECKED : BST_UNCHECKED);
  }
  return TRUE;
}

void OnOk(ContextItemsDialog& dialog) {
  for (int i = 0; i < kMenuItemCount; ++i) {
    dialog.items.shown[i] = IsDlgButtonChecked(dialog.window, ItemBox(i)) == BST_CHECKED;
  }
  StoreMenuItems(dialog.items);
  EndDialog(dialog.window, 1);
}

INT_PTR OnCommand(ContextItemsDialog& dialog, int control) {
  switch (control) {
    case IDOK:
      OnOk(dialog);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog.window, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK ContextItemsDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  PreprocessDialogMessage(window, message, wParam, lParam, components::kContextItemsHelpTopic, kTemplateName);
  // The hook has asked for the help topic; the owner must not ask again.
  if (message == WM_HELP) return TRUE;
  return DispatchDialogMessage<ContextItemsDialog>(window, message, wParam, lParam, OnInitDialog, OnCommand);
}

}  // namespace

INT_PTR RunContextItemsDialog(HWND owner) {
  ContextItemsDialog dialog;
  return RunDialog(kTemplateName, owner, ContextItemsDialogProc, dialog);
}
