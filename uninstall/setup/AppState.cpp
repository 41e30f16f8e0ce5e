#include "setup/AppState.h"

bool SilentMode = false;
HICON AppIcon = nullptr;
HFONT BoldFont = nullptr;
char ProgramGroupPath[kPathSize] = {};
