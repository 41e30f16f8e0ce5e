// The setup choices kept per user under HKEY_CURRENT_USER\Software\Zendra\Setup: read
// with their defaults, stored, and applied to the registry and the shell. No window is
// touched here; the setup dialogs show and collect what these functions read and take.
#pragma once

#include <cstddef>

#include "integration/SetupOptions.h"

// The stored choices, with the defaults for what is not stored. The ISO flag is never
// stored: it is on unless another program owns ".iso" at this moment.
SetupOptions ReadSetupOptions();

// Writes every stored choice as 0 or 1 (the ISO flag is not written).
void StoreSetupOptions(const SetupOptions& options);

// Applies the choices: App Paths entry, shell extension, associations, the archiver's
// classes, then the shortcuts. The folder of a created per-user program group is
// copied to `groupPath`. Every step runs whatever the others did.
void ApplySetupOptions(const SetupOptions& options, char* groupPath, size_t groupPathSize);

// The context-menu items that the archiver's shell extension offers, in the order of
// their check boxes.
constexpr int kMenuItemCount = 9;

struct MenuItems {
  bool shown[kMenuItemCount] = {};
};

// The stored items; an item that is not stored is shown.
MenuItems ReadMenuItems();
void StoreMenuItems(const MenuItems& items);
