// The self-removal batch in the temporary folder, and the command that starts it.
// On the NT family it lies in a new folder "%TEMP%\Kzp?????" made for it, which only the
// system, the administrators and this user (and, when elevated, nothing of lower
// integrity) can change, as "Uninstall_Kzp.Bat"; its last line removes that folder with
// it. On Windows 95, 98 and ME, which have no such rights, it is a new file
// "%TEMP%\Kzp?????.Bat". It is always created new, never through what stood at its name.
#pragma once

#include "base/TextHelpers.h"
#include "remove/BatchProcess.h"

struct SelfRemovalBatch {
  char folder[kPathSize];  // made for the batch; empty on Windows 95, 98 and ME
  char path[kPathSize];
  BatchCommand command;
};

// Writes the batch that removes `program` (whose folder is the current directory) and
// makes the command that starts it. False, with nothing left behind, when either cannot
// be made whole: no temporary folder, a path without an exact form in the OEM code page
// or too long, no interpreter.
bool PrepareSelfRemovalBatch(const char* program, bool ntFamily, SelfRemovalBatch* batch);

// Whether a batch that the uninstall wrote for `program` in `folder` is there: the
// "/warning" that the batch starts may act only while it runs.
bool SelfRemovalBatchExists(const char* program, const char* folder, bool ntFamily);
