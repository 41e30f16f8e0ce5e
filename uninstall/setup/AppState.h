// What the program's modes share: made at start-up in UninstallMain.cpp, released at
// exit, and handed to the setup dialogs.
#pragma once

#include <windows.h>

#include "base/TextHelpers.h"
#include "base/WinHandles.h"

struct AppState {
  // Set by "/s": the setup dialogs press their own OK button while they initialise.
  bool silent = false;
  // "KZPICON" from the resource module; the big icon of the setup dialogs.
  HICON icon = nullptr;
  // The bold font of the completion dialog's closing line.
  FontHandle boldFont;
  // The folder of the per-user program group made by the setup; opened at its end.
  char programGroupPath[kPathSize] = {};
};
