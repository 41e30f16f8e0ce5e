#include "language/ExtResource.h"

#include "base/Components.h"
#include "base/TextHelpers.h"

HMODULE ExtResource::currentModule = nullptr;
HMODULE ExtResource::ownModule = nullptr;

ExtResource extResource;

void ExtResource::Load(HINSTANCE instance, const char* path) {
  Unload();
  ownModule = instance;
  currentModule = instance;
  char libraryPath[kPathSize];
  if (path != nullptr) {
    if (!CopyText(libraryPath, sizeof libraryPath, path)) return;
  } else {
    DWORD length = GetModuleFileNameA(instance, libraryPath, sizeof libraryPath);
    if (length == 0 || length >= sizeof libraryPath) return;
  }
  // The library is taken only from beside the program, by its full path.
  char* name = PointToName(libraryPath);
  *name = '\0';
  if (!AppendText(libraryPath, sizeof libraryPath, components::kLanguageLibrary)) return;
  HMODULE library = LoadLibraryA(libraryPath);
  if (library == nullptr) return;
  currentModule = library;
  loaded = true;
}

void ExtResource::Unload() {
  if (!loaded) return;
  FreeLibrary(currentModule);
  currentModule = ownModule;
  loaded = false;
}
