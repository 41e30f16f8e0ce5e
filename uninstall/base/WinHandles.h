// Owning wrappers for the Windows handles the program holds.
#pragma once

#include <windows.h>

#include "base/Handle.h"

namespace handle_closers {
inline void CloseRegistryKey(HKEY key) {
  RegCloseKey(key);
}
inline void CloseKernelHandle(HANDLE handle) {
  CloseHandle(handle);
}
inline void FreeLibraryModule(HMODULE module) {
  FreeLibrary(module);
}
inline void DeleteGdiObject(HGDIOBJ object) {
  DeleteObject(object);
}
}  // namespace handle_closers

using KeyHandle = Handle<HKEY, handle_closers::CloseRegistryKey>;
// Process and thread handles (null when absent; file handles live in File).
using KernelHandle = Handle<HANDLE, handle_closers::CloseKernelHandle>;
using LibraryHandle = Handle<HMODULE, handle_closers::FreeLibraryModule>;
using FontHandle = Handle<HFONT, handle_closers::DeleteGdiObject>;
