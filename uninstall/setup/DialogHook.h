// The hook that every dialog procedure of the program calls first, for every message:
// it localises the dialog when it is created, mirrors it for right-to-left languages
// and opens help topics. It never consumes a message.
#pragma once

#include <windows.h>

// helpContext 0 means the dialog has no help.
void PreprocessDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, int helpContext,
                             const char* templateName);
