#include "setup/SetupFlow.h"

// The setup and completion dialogs are not built yet; until they are, the setup mode
// does nothing and the program ends.
void RunSetup() {}
