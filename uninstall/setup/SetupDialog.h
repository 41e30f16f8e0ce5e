// SETUPDLG: the user chooses the archive types the archiver is associated with, its
// shortcuts and its Explorer integration. OK stores the choices, applies them and
// writes the Uninstall entry. In silent mode the dialog presses OK by itself.
#pragma once

#include <windows.h>

#include "setup/AppState.h"

// Runs the dialog without owner; 1 after OK, 0 after Cancel, and 0 without showing it
// when the machine-wide keys cannot be changed. OK records the folder of a program
// group it made in `app`.
INT_PTR RunSetupDialog(AppState& app);
