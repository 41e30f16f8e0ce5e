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
}  // namespace handle_closers

using KeyHandle = Handle<HKEY, handle_closers::CloseRegistryKey>;
// Process and thread handles (null when absent; file handles live in File).
using KernelHandle = Handle<HANDLE, handle_closers::CloseKernelHandle>;
