#include "remove/UninstallRights.h"

#include <windows.h>

#include "integration/MachineKeys.h"
#include "language/MessageText.h"
#include "resources/resource.h"

bool CheckUninstallRights() {
  if (CanChangeMachineKeys()) return true;
  MessageBoxA(nullptr, GetMessageText(IDS_NO_ADMIN_RIGHTS), GetMessageText(IDS_UNINSTALL_CAPTION),
              MB_ICONERROR | MB_SETFOREGROUND);
  return false;
}
