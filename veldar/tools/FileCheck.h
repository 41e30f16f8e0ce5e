// Whether a file of a script's directive is there, asked of the file system of the
// machine the plan is made on.
#pragma once

#include <string>

// True for an existing file, false for a folder or nothing. Natively a backslash in
// the name counts as a folder separator, as it does for the installer.
bool PlainFileExists(const std::string& name);
