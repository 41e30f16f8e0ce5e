#include "remove/Uninstall.h"

// The removal of the archiver is not built yet; until it is, starting the program
// without a switch does nothing and the program ends.
void RunUninstall() {}
