// Starting the self-removal batch file through the command interpreter.
#pragma once

#include <cstddef>

// The size of the command line that starts the batch file.
constexpr size_t kCommandLineSize = 512;

// The command line that runs the batch file through the command interpreter that
// COMSPEC names: the interpreter quoted, then "/c" and the quoted batch path. False
// when COMSPEC is unset or not a full path, or when the command line does not fit
// `capacity` characters.
bool MakeBatchCommandLine(const char* batch, char* commandLine, size_t capacity);

// Starts that command line: on the NT family in a hidden window, elsewhere detached
// with its standard handles on the device NUL. The process inherits this process's
// current directory and environment. Its handles are closed at once: nobody waits for
// it. True when the process started.
bool StartBatchProcess(char* commandLine, bool ntFamily);
