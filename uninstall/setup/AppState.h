// The process-wide state of the program, made at start-up and released at exit.
#pragma once

#include <windows.h>

constexpr int kPathSize = 1024;

// Set by "/s": the setup dialogs press their own OK button while they initialise.
extern bool SilentMode;
// "KZPICON" from the resource module; the big icon of the setup dialogs.
extern HICON AppIcon;
// The bold font of the completion dialog's closing line.
extern HFONT BoldFont;
// The folder of the per-user program group made by the setup; opened at its end.
extern char ProgramGroupPath[kPathSize];
