// Whether the setup has the rights it needs: without them it could apply the per-user
// part of the choices and none of the machine-wide one.
#pragma once

#include "setup/AppState.h"

// True when the machine-wide keys can be changed; otherwise false, after telling the
// user that nothing was changed (a silent setup shows nothing).
bool CheckSetupRights(const AppState& app);
