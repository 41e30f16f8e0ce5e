// Starting another program.
#pragma once

#include <windows.h>

// Starts `commandLine` in `directory` (null: this process's current directory). With
// `waitMilliseconds` not 0 it waits that long for the program to end. True when the
// program was started.
bool RunProgram(const char* commandLine, const char* directory, DWORD waitMilliseconds);
