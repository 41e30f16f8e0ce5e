// Entry point of the setup and uninstall helper. It has no main window: each run does
// one job chosen by its switch, and ends.
#include <windows.h>
#include <shellapi.h>

#include "base/ComPtr.h"
#include "base/Components.h"
#include "base/SystemLibrary.h"
#include "base/WinHandles.h"
#include "language/ExtResource.h"
#include "language/LanguageResources.h"
#include "remove/Uninstall.h"
#include "resources/resource.h"
#include "setup/AppState.h"
#include "setup/CommandLine.h"
#include "setup/DoneDialog.h"
#include "setup/FinalNotice.h"
#include "setup/SetupDialog.h"

namespace {

constexpr DWORD kWaitMilliseconds = 2000;

// What the process holds from the system for its whole run, given back in the reverse
// order when it goes: the rich edit control's library first, then COM.
struct ProcessResources {
  OleSession ole;
  // The class of the rich edit control in the setup dialog; may be missing.
  LibraryHandle richEdit{LoadSystemLibrary("riched32.dll")};
};

HFONT CreateBoldFont() {
  return CreateFontA(-12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "MS Sans Serif");
}

// The icon from LoadIconA is shared and released by the system; the font goes with `app`.
void LoadDialogResources(AppState& app) {
  app.icon = LoadIconA(ExtResource::currentModule, IDI_KZPICON);
  app.boldFont.Reset(CreateBoldFont());
}

// "/setup": the setup dialog, the completion dialog, then the program group's folder.
void RunSetup(AppState& app) {
  // Only OK goes on: Cancel ends the setup, and so does a dialog that cannot be made.
  if (RunSetupDialog(app) != 1) return;
  RunDoneDialog(app);
  if (app.programGroupPath[0] != '\0')
    ShellExecuteA(nullptr, "open", app.programGroupPath, nullptr, "", SW_SHOWNORMAL);
}

void RunMode(const CommandLine& switches, AppState& app) {
  app.silent = switches.silent;
  if (switches.uninstall) RunUninstall();
  if (switches.setup) RunSetup(app);
  if (switches.wait) Sleep(kWaitMilliseconds);
  // The program file outlived the batch's tries: it is left to the restart, and the
  // notice names it.
  if (switches.warning) {
    RemoveProgramAtRestart();
    ShowFinalNotice();
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  RestrictLibrarySearch();
  // Start-up in this order: language library, language file, COM, the rich edit
  // control, the icon and the bold font.
  extResource.Load(instance);
  languageResources.Load(components::kLanguageFile);
  AppState app;
  const ProcessResources resources;
  LoadDialogResources(app);
  RunMode(ParseCommandLine(commandLine != nullptr ? commandLine : ""), app);
  return 0;
}
