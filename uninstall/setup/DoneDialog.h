// DONEDLG: the setup is finished. Shows the installation folder and offers to start the
// archiver and to open its help, licence, price list and home page. In silent mode the
// dialog closes by itself.
#pragma once

#include <windows.h>

#include "setup/AppState.h"

// Runs the dialog without owner; always 1.
INT_PTR RunDoneDialog(const AppState& app);
