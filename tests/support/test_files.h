// Whole files as bytes, scratch folders, and the paths of the test program and build machine.
#pragma once

#include <string>
#include <vector>

namespace test_support {

bool FileExists(const std::string& path);
// The paths of `paths` that exist, in their order.
std::vector<std::string> Existing(const std::vector<std::string>& paths);
// The file's bytes; "<missing>" when it cannot be read.
std::string ReadFileBytes(const std::string& path);
// Replaces the file with `bytes`; false when it cannot be written whole.
bool WriteFileBytes(const std::string& path, const std::string& bytes);
// Removes a folder with everything in it, whatever the attributes; a missing folder is no error.
void RemoveFolder(const std::string& path);
// A fresh, empty folder `name` in the existing `parent`, with a trailing separator.
std::string MakeScratchFolder(const std::string& parent, const std::string& name);
// The system's temporary folder, with a trailing separator.
std::string TempFolder();

#ifdef _WIN32
// The folder of the running test program, with a trailing backslash.
std::string ProgramFolder();
// The current folder, without a trailing backslash (but at a root).
std::string CurrentFolder();
// The Windows name of a path of the build machine (Wine maps Z: to /).
std::string WindowsPath(const std::string& unixPath);
#endif

}  // namespace test_support
