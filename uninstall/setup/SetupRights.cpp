#include "setup/SetupRights.h"

#include <windows.h>

#include "integration/MachineKeys.h"
#include "language/MessageText.h"
#include "resources/resource.h"

bool CheckSetupRights(const AppState& app) {
  if (CanChangeMachineKeys()) return true;
  if (!app.silent)
    MessageBoxA(nullptr, GetMessageText(IDS_NO_ADMIN_RIGHTS), GetMessageText(IDS_DISPLAY_NAME),
                MB_ICONERROR | MB_SETFOREGROUND);
  return false;
}
