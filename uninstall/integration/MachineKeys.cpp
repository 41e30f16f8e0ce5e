#include "integration/MachineKeys.h"

#include <windows.h>

#include "base/TextHelpers.h"
#include "integration/AppEntries.h"
#include "integration/Associations.h"
#include "integration/ShellExtension.h"
#include "registry/Registry.h"

bool CanChangeMachineClassKey(const char* name) {
  // HKEY_CLASSES_ROOT merges the user's classes over the machine's, and a key that the
  // user does not have is written among the machine's: asking HKEY_CLASSES_ROOT would
  // answer for the user's keys instead.
  char key[kKeyNameSize];
  return FormatText(key, sizeof key, "Software\\Classes\\%s", name) && CanChangeKey(HKEY_LOCAL_MACHINE, key);
}

bool CanChangeMachineKeys() {
  return CanChangeAssociationKeys() && CanChangeShellExtensionKeys() &&
         CanChangeKey(HKEY_LOCAL_MACHINE, kAppPathsKey) && CanChangeKey(HKEY_LOCAL_MACHINE, kUninstallKey);
}
