#include "setup/DialogHook.h"

#include "base/Components.h"
#include "language/DialogLayout.h"

void PreprocessDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM, int helpContext,
                             const char* templateName) {
  switch (message) {
    case WM_INITDIALOG:
      LocalizeDialog(languageResources, dialog, templateName, false);
      break;
    case WM_SETFONT:
      ApplyLayout(languageResources, dialog);
      break;
    case WM_COMMAND:
      if (LOWORD(wParam) != IDHELP) break;
      [[fallthrough]];
    case WM_HELP:
      if (helpContext != 0) WinHelpA(dialog, components::kHelpFile, HELP_CONTEXT, helpContext);
      break;
    default:
      break;
  }
}
