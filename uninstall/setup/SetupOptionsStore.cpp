#include "setup/SetupOptionsStore.h"

#include <windows.h>

#include <cstring>

#include "base/TextHelpers.h"
#include "integration/AppEntries.h"
#include "integration/Associations.h"
#include "integration/ShellExtension.h"
#include "integration/Shortcuts.h"
#include "registry/Registry.h"

namespace {

constexpr char kSetupKey[] = "Setup";
constexpr char kLinksKey[] = "Setup\\Links";
constexpr char kMenuItemsKey[] = "Setup\\MenuItems";
constexpr char kChosenValue[] = "Set";
constexpr char kIsoExtension[] = ".iso";
// The class of another program read from HKEY_CLASSES_ROOT\.iso.
constexpr DWORD kIsoClassSize = 80;

// A choice kept in one per-user value, with its default.
struct StoredFlag {
  const char* key;
  const char* value;
  DWORD defaultValue;
  bool SetupOptions::*flag;
};

constexpr StoredFlag kInterfaceFlags[] = {
    {kLinksKey, "Desktop", 0, &SetupOptions::desktopShortcut},
    {kLinksKey, "StartMenu", 0, &SetupOptions::startMenuShortcut},
    {kLinksKey, "Programs", 1, &SetupOptions::programGroup},
    {kSetupKey, "ShellExt", 1, &SetupOptions::shellIntegration},
    {kSetupKey, "CascadedMenu", 0, &SetupOptions::cascadedMenu},
    {kSetupKey, "MenuIcons", 1, &SetupOptions::menuIcons},
};

constexpr const char* kMenuItemValues[kMenuItemCount] = {
    "ExtrTo", "ExtrHere", "Extr", "ExtrSep", "OpenSFX", "AddTo", "AddArc", "EmailArc", "EmailOpt",
};

// The key that holds a group's choice: "Setup\" and the group's first extension.
bool MakeGroupKey(int group, char* key, size_t capacity) {
  const char* extensions = AssociationGroups[group].extensions;
  const char* next = extensions[0] != '\0' ? strchr(extensions + 1, '.') : nullptr;
  size_t length = next != nullptr ? static_cast<size_t>(next - extensions) : strlen(extensions);
  return FormatText(key, capacity, "%s\\%.*s", kSetupKey, static_cast<int>(length), extensions);
}

// Another program owns ".iso" when its class is not ours and not empty.
bool IsoOwnedByOther() {
  if (IsOwnAssociation(kIsoExtension)) return false;
  char isoClass[kIsoClassSize];
  ReadString(HKEY_CLASSES_ROOT, kIsoExtension, "", isoClass, sizeof isoClass, "");
  return isoClass[0] != '\0';
}

}  // namespace

SetupOptions ReadSetupOptions() {
  SetupOptions options;
  for (int group = 0; group < kAssociationGroupCount; ++group) {
    char key[kKeyNameSize];
    options.associations[group] =
        MakeGroupKey(group, key, sizeof key) && ReadUserDword(key, kChosenValue, 1) != 0;
  }
  if (IsoOwnedByOther()) options.associations[kGroupIso] = false;
  for (const StoredFlag& stored : kInterfaceFlags) {
    options.*stored.flag = ReadUserDword(stored.key, stored.value, stored.defaultValue) != 0;
  }
  return options;
}

void StoreSetupOptions(const SetupOptions& options) {
  // The ISO choice is made afresh at every setup from the current owner of ".iso".
  for (int group = 0; group < kAssociationGroupCount; ++group) {
    if (group == kGroupIso) continue;
    char key[kKeyNameSize];
    if (MakeGroupKey(group, key, sizeof key))
      WriteUserDword(key, kChosenValue, options.associations[group] ? 1 : 0);
  }
  for (const StoredFlag& stored : kInterfaceFlags) {
    WriteUserDword(stored.key, stored.value, options.*stored.flag ? 1 : 0);
  }
}

void ApplySetupOptions(const SetupOptions& options, char* groupPath, size_t groupPathSize) {
  SetAppPath();
  SetShellExtension(options);
  SetAssociations(options);
  RegisterProgIds();
  SetShortcuts(options, groupPath, groupPathSize);
}

MenuItems ReadMenuItems() {
  MenuItems items;
  for (int i = 0; i < kMenuItemCount; ++i)
    items.shown[i] = ReadUserDword(kMenuItemsKey, kMenuItemValues[i], 1) != 0;
  return items;
}

void StoreMenuItems(const MenuItems& items) {
  for (int i = 0; i < kMenuItemCount; ++i)
    WriteUserDword(kMenuItemsKey, kMenuItemValues[i], items.shown[i] ? 1 : 0);
}
