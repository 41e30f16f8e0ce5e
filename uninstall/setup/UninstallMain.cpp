// Entry point of the setup and uninstall helper. It has no main window: each run does
// one job chosen by its switch, and ends.
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include "base/Components.h"
#include "base/SystemLibrary.h"
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

// What start-up takes from the system and shut-down gives back, beside the state that
// the modes share.
struct ProcessResources {
  HMODULE richEdit = nullptr;
  bool oleInitialized = false;
};

HFONT CreateBoldFont() {
  return CreateFontA(-12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "MS Sans Serif");
}

// Language library, language file, COM, the rich edit control, the icon and the bold
// font, in this order.
void StartUp(HINSTANCE instance, AppState& app, ProcessResources& resources) {
  extResource.Load(instance);
  languageResources.Load(components::kLanguageFile);
  resources.oleInitialized = SUCCEEDED(OleInitialize(nullptr));
  // The class of the rich edit control in the setup dialog; may be missing.
  resources.richEdit = LoadSystemLibrary("riched32.dll");
  app.icon = LoadIconA(ExtResource::currentModule, IDI_KZPICON);
  app.boldFont = CreateBoldFont();
}

// The icon from LoadIconA is shared and released by the system.
void ShutDown(const AppState& app, const ProcessResources& resources) {
  if (resources.richEdit != nullptr) FreeLibrary(resources.richEdit);
  if (resources.oleInitialized) OleUninitialize();
  if (app.boldFont != nullptr) DeleteObject(app.boldFont);
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
  AppState app;
  ProcessResources resources;
  StartUp(instance, app, resources);
  RunMode(ParseCommandLine(commandLine != nullptr ? commandLine : ""), app);
  ShutDown(app, resources);
  return 0;
}
