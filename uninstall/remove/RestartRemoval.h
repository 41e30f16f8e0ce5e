// Removal at the next restart of what cannot be deleted now: files in use (the shell
// extension that Explorer keeps loaded, a document held open) and the folders that
// hold them. On the NT family the system's list of pending operations takes them
// (MoveFileExA with MOVEFILE_DELAY_UNTIL_REBOOT), on Windows 95, 98 and ME the section
// [rename] of WININIT.INI in the Windows folder, which deletes files only.
#pragma once

#include <vector>

#include "remove/Leftovers.h"

// Schedules the leftovers that still exist, files before the folders that hold them,
// then `folder` (the program's folder, without a trailing backslash; a root stays) on
// the NT family, when anything was scheduled. A file that can be renamed in use is
// first renamed to a unique name in its own folder, and that name is scheduled: a file
// installed again under the old name before the restart is kept. When the system
// refuses (no administrator rights), the file keeps its name and nothing is reported.
// Returns the number of leftovers scheduled.
int RemoveAtRestart(std::vector<Leftover> leftovers, const char* folder);
