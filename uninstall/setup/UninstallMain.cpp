// Entry point of the setup and uninstall helper. It has no main window: each run does
// one job chosen by its switch, and ends.
#include <windows.h>

#include "base/SystemLibrary.h"
#include "remove/Uninstall.h"
#include "setup/AppState.h"
#include "setup/CommandLine.h"
#include "setup/FinalNotice.h"
#include "setup/SetupFlow.h"
#include "setup/Startup.h"

namespace {

constexpr DWORD kWaitMilliseconds = 2000;

void RunMode(const CommandLine& switches) {
  SilentMode = switches.silent;
  if (switches.uninstall) RunUninstall();
  if (switches.setup) RunSetup();
  if (switches.wait) Sleep(kWaitMilliseconds);
  if (switches.warning) ShowFinalNotice();
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  RestrictLibrarySearch();
  ProcessResources resources;
  StartUp(instance, resources);
  RunMode(ParseCommandLine(commandLine != nullptr ? commandLine : ""));
  ShutDown(resources);
  return 0;
}
