#include "base/SystemLibrary.h"

#include "base/TextHelpers.h"

void* FindSystemFunctionAddress(const char* library, const char* name) {
  HMODULE module = GetModuleHandleA(library);
  return module != nullptr ? reinterpret_cast<void*>(GetProcAddress(module, name)) : nullptr;
}

// Both calls are looked up at run time: SetDllDirectoryA came with Windows XP SP1 and
// SetDefaultDllDirectories with Windows 8 (and an update of 7 and Vista), so Windows 98,
// ME, 2000 and XP before SP1 have neither. There the program's own loads still name the
// system folder in full (LoadSystemLibrary).
void RestrictLibrarySearch() {
  auto setDefault = FindKernelFunction<BOOL(WINAPI*)(DWORD)>("SetDefaultDllDirectories");
  if (setDefault != nullptr && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  auto setDirectory = FindKernelFunction<BOOL(WINAPI*)(LPCSTR)>("SetDllDirectoryA");
  if (setDirectory != nullptr) setDirectory("");
}

HMODULE LoadSystemLibrary(const char* name) {
  // The search flags exist where AddDllDirectory does (the documented test); an older
  // system may not refuse an unknown flag but search the usual folders instead.
  if (FindKernelFunction<FARPROC>("AddDllDirectory") != nullptr) {
    HMODULE module = LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module != nullptr) return module;
  }
  // Systems without the search flags: the full path in the system folder.
  char path[MAX_PATH];
  UINT length = GetSystemDirectoryA(path, sizeof path);
  if (length == 0 || length >= sizeof path) return nullptr;
  if (!AppendText(path, sizeof path, "\\") || !AppendText(path, sizeof path, name)) return nullptr;
  return LoadLibraryA(path);
}
