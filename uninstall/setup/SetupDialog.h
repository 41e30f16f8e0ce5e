// SETUPDLG: the user chooses the archive types the archiver is associated with, its
// shortcuts and its Explorer integration. OK stores the choices, applies them and
// writes the Uninstall entry. In silent mode the dialog presses OK by itself.
#pragma once

#include <windows.h>

// Runs the dialog without owner; 1 after OK, 0 after Cancel.
INT_PTR RunSetupDialog();
