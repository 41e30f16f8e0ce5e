#include "base/SystemLibrary.h"

#include "base/TextHelpers.h"

void RestrictLibrarySearch() {
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  auto setDefault = kernel != nullptr
                        ? reinterpret_cast<SetDefaultDllDirectoriesFunction>(
                              reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")))
                        : nullptr;
  if (setDefault == nullptr || !setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) SetDllDirectoryA("");
}

HMODULE LoadSystemLibrary(const char* name) {
  HMODULE module = LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module != nullptr) return module;
  // Systems without the search flags: the full path in the system folder.
  char path[MAX_PATH];
  UINT length = GetSystemDirectoryA(path, sizeof path);
  if (length == 0 || length >= sizeof path) return nullptr;
  if (!AppendText(path, sizeof path, "\\") || !AppendText(path, sizeof path, name)) return nullptr;
  return LoadLibraryA(path);
}
