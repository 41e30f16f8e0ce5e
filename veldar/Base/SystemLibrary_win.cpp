#include "Base/SystemLibrary.h"

#include <string>

HMODULE LoadSystemLibrary(const char* name) {
  // The search flags exist where AddDllDirectory does (the documented test); an older
  // system may not refuse an unknown flag but search the usual folders instead.
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (kernel != nullptr && GetProcAddress(kernel, "AddDllDirectory") != nullptr) {
    HMODULE module = LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module != nullptr) return module;
  }
  // Systems without the search flags: the same file by its full path.
  char folder[MAX_PATH];
  const UINT length = GetSystemDirectoryA(folder, sizeof folder);
  if (length == 0 || length >= sizeof folder) return nullptr;
  const std::string path = std::string(folder, length) + "\\" + name;
  return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
