// The optional language library: a resource-only module next to the program whose
// string table, dialogs and icons replace the program's own.
#pragma once

#include <windows.h>

class ExtResource {
 public:
  ExtResource() = default;
  ExtResource(const ExtResource&) = delete;
  ExtResource& operator=(const ExtResource&) = delete;
  ~ExtResource() { Unload(); }

  // Loads the language library next to `path` (by default the program's own file).
  // Every resource is loaded from the library when it loads, else from `instance`.
  void Load(HINSTANCE instance, const char* path = nullptr);
  // Frees the library, so that its file can be deleted; resources then come from the
  // program itself.
  void Unload();

  bool loaded = false;
  // The module every resource of the program is loaded from.
  static HMODULE currentModule;
  // The program's own module.
  static HMODULE ownModule;
};

extern ExtResource extResource;
