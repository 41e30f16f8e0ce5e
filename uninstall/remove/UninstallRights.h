// Whether the uninstall has the rights it needs. Without them every change of the
// machine-wide keys fails while the per-user settings still go, with the records of the
// associations' earlier owners that a later uninstall needs to give them back.
#pragma once

// True when the machine-wide keys can be changed; otherwise it tells the user that
// nothing was changed and returns false.
bool CheckUninstallRights();
