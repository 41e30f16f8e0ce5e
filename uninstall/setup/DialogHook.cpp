#include "setup/DialogHook.h"

#include "integration/Components.h"
#include "language/LanguageResources.h"

void PreprocessDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM, int helpContext,
                             const char* templateName) {
  switch (message) {
    case WM_INITDIALOG:
      languageResources.LocalizeDialog(dialog, templateName, false);
      break;
    case WM_SETFONT:
      languageResources.ApplyLayout(dialog);
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
