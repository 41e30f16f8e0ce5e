#include "remove/Registration.h"

#include <windows.h>
#include <shlobj.h>

#include <initializer_list>

#include "integration/AppEntries.h"
#include "integration/Associations.h"
#include "integration/SetupOptions.h"
#include "integration/ShellExtension.h"
#include "integration/Shortcuts.h"
#include "registry/Registry.h"

void RemoveRegistration() {
  // Every option off: each operation removes what the setup made.
  const SetupOptions nothing;
  SetAssociations(nothing);
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_FLUSH, nullptr, nullptr);
  SetShellExtension(nothing);
  SetShortcuts(nothing);
  for (const char* key : {kArchiveClass, kZipClass, kRecoveryClass, kRecoveryExtension})
    DeleteKeyTree(HKEY_CLASSES_ROOT, key);
  DeleteKey(HKEY_LOCAL_MACHINE, kUninstallKey);
  DeleteKey(HKEY_LOCAL_MACHINE, kAppPathsKey);
  // The empty name is the archiver's own per-user key, with the association backups.
  DeleteKeyTree(HKEY_CURRENT_USER, "");
}
