// The setup choices on the check boxes of the setup dialog.
#pragma once

#include <windows.h>

#include "integration/SetupOptions.h"

// Checks the 18 boxes from the options. The two context-menu boxes are enabled exactly
// when Explorer integration is on; disabled they keep their check state.
void ShowSetupOptions(HWND dialog, const SetupOptions& options);

// The options that the check boxes show (checked = on).
SetupOptions CollectSetupOptions(HWND dialog);

// Checks every association box and leaves the others as they are.
void CheckAllAssociations(HWND dialog);
