// Starting the self-removal batch file through the command interpreter.
#pragma once

// Starts the batch file through the command interpreter that COMSPEC names (quoted,
// then "/c" and the quoted batch path): on the NT family in a hidden window, elsewhere
// detached with its standard handles on the device NUL. The process inherits this
// process's current directory and environment. Its handles are closed at once: nobody
// waits for it.
// True when the process started; false also when COMSPEC is unset or not a full path,
// or when the command line does not fit its buffer.
bool StartBatchFile(const char* batch, bool ntFamily);
