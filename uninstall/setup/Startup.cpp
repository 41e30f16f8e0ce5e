#include "setup/Startup.h"

#include <ole2.h>

#include "base/SystemLibrary.h"
#include "integration/Components.h"
#include "language/ExtResource.h"
#include "language/LanguageResources.h"
#include "resources/resource.h"
#include "setup/AppState.h"

namespace {

HFONT CreateBoldFont() {
  return CreateFontA(-12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "MS Sans Serif");
}

}  // namespace

void StartUp(HINSTANCE instance, ProcessResources& resources) {
  extResource.Load(instance);
  languageResources.Load(components::kLanguageFile);
  resources.oleInitialized = SUCCEEDED(OleInitialize(nullptr));
  // The class of the rich edit control in the setup dialog; may be missing.
  resources.richEdit = LoadSystemLibrary("riched32.dll");
  AppIcon = LoadIconA(ExtResource::currentModule, IDI_KZPICON);
  BoldFont = CreateBoldFont();
}

void ShutDown(ProcessResources& resources) {
  if (resources.richEdit != nullptr) FreeLibrary(resources.richEdit);
  if (resources.oleInitialized) OleUninitialize();
  if (BoldFont != nullptr) DeleteObject(BoldFont);
  BoldFont = nullptr;
  // The icon from LoadIconA is shared and released by the system.
  AppIcon = nullptr;
}
