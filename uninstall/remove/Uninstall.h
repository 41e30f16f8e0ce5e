// The uninstall procedure, run when the command line holds no switch.
#pragma once

void RunUninstall();
