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
