// Shortcuts to the archiver on the desktop, in the start menu and in a program group.
#pragma once

#include <cstddef>

#include "integration/SetupOptions.h"

// Creates or removes the desktop and start-menu shortcuts and the program groups
// (per user, and for all users on the NT family). When the per-user group is created
// and `groupPath` is given, its folder is copied there (empty when it does not fit in
// `groupPathSize`). COM must be initialised.
void SetShortcuts(const SetupOptions& options, char* groupPath = nullptr, size_t groupPathSize = 0);

// Saves a shortcut file `file` to `target` with `description`, replacing an existing
// one. True when the file was saved.
bool CreateShellLink(const char* target, const char* file, const char* description);

// Deletes a folder with everything in it, without confirmation and not to the recycle
// bin. True when the shell deleted it.
bool DeleteFolderTree(const char* path);
