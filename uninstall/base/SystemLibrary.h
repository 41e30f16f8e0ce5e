// Libraries come from the system folder only: the program often runs elevated from a
// folder that others can write to.
#pragma once

#include <windows.h>

// Makes the system folder the only place that implicit and bare-name library loads
// search (SetDefaultDllDirectories where the system has it, else the current folder is
// taken out of the search with SetDllDirectoryA(""), where that exists).
void RestrictLibrarySearch();
// Loads a system library by name from the system folder.
HMODULE LoadSystemLibrary(const char* name);

// A function that older systems may lack, looked up at run time in a system library
// that the program has loaded already (kernel32.dll, advapi32.dll); null when this
// system has none of that name.
void* FindSystemFunctionAddress(const char* library, const char* name);
template <class Function>
Function FindSystemFunction(const char* library, const char* name) {
  return reinterpret_cast<Function>(FindSystemFunctionAddress(library, name));
}
template <class Function>
Function FindKernelFunction(const char* name) {
  return FindSystemFunction<Function>("kernel32.dll", name);
}
