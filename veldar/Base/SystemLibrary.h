// Libraries loaded at run time come from the system folder only, never from the
// program's folder or the current one, which others may be able to write to.
#pragma once

#include <windows.h>

// The system folder's library of that name (for instance "odbc32.dll"), or nullptr.
HMODULE LoadSystemLibrary(const char* name);

// The named function of a loaded library as the given function type, or nullptr.
template <typename Function>
bool FindFunction(HMODULE module, const char* name, Function& function) {
  // Through the generic function type, which converts to any other without complaint.
  function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
  return function != nullptr;
}
