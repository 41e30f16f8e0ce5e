#include "setup/SetupFlow.h"

#include <windows.h>
#include <shellapi.h>

#include "setup/AppState.h"
#include "setup/DoneDialog.h"
#include "setup/SetupDialog.h"

void RunSetup() {
  // Only OK goes on: Cancel ends the setup, and so does a dialog that cannot be made.
  if (RunSetupDialog() != 1) return;
  RunDoneDialog();
  if (ProgramGroupPath[0] != '\0')
    ShellExecuteA(nullptr, "open", ProgramGroupPath, nullptr, "", SW_SHOWNORMAL);
}
