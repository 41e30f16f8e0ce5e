// Starting the self-removal batch file through the command interpreter.
#pragma once

#include <cstddef>

#include "base/TextHelpers.h"

// The size of the command line that starts the batch file.
constexpr size_t kCommandLineSize = 512;

// The interpreter, by its full path, and the command line that runs the batch with it.
struct BatchCommand {
  char interpreter[kPathSize];
  char line[kCommandLineSize];
};

// On the NT family the system folder's cmd.exe, never the one that COMSPEC (which the
// user sets) names: "/d" keeps the user's AutoRun commands from running first, and with
// "/s" the interpreter takes off only the outer pair of quotes, which keeps the quoted
// paths whole whatever they hold ("&", "(", "^"). After the batch, the command removes
// the batch's folder `batchFolder`: the batch's own last line does so where the
// interpreter lets go of the batch file between lines (as Windows' does), and an
// interpreter that holds it open to the end (as Wine's does) keeps the folder from going
// until then. On Windows 95, 98 and ME, which have no other interpreter, the one that
// COMSPEC names with "/c" and the quoted path. False when COMSPEC is unset or not a full
// path, or when a part does not fit.
bool MakeBatchCommand(const char* batch, const char* batchFolder, bool ntFamily, BatchCommand* command);

// Starts that command: on the NT family in a hidden window, elsewhere detached with its
// standard handles on the device NUL. The process inherits this process's current
// directory and environment. Its handles are closed at once: nobody waits for it. True
// when the process started.
bool StartBatchProcess(BatchCommand* command, bool ntFamily);
