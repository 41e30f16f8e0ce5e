// The snapshot of a folder of the native file system. Names are turned into the code
// page 936, as Wine shows them to Windows programs, so that they compare with the
// entries of a list written for that code page. Links are taken as files and not
// followed.
#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "base/Handle.h"
#include "tools/CodePage.h"
#include "tools/FolderSnapshot.h"

namespace {

bool ScanInto(const std::string& folder, const std::string& relative, FolderSnapshot& snapshot, std::string& error) {
  Handle<DIR*, closedir> directory(opendir(folder.c_str()));
  if (!directory) {
    error = std::strerror(errno);
    return false;
  }
  bool ok = true;
  while (const dirent* entry = readdir(directory.Get())) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    const std::string path = folder + "/" + name;
    struct stat info;
    const bool isFolder = lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    const std::string shown = (relative.empty() ? "" : relative + "\\") + Utf8ToCodePage936(name);
    snapshot.Add(shown, isFolder);
    if (isFolder && !ScanInto(path, shown, snapshot, error)) ok = false;
  }
  return ok;
}

}  // namespace

bool ScanFolder(const std::string& folder, FolderSnapshot& snapshot, std::string& error) {
  return ScanInto(folder, std::string(), snapshot, error);
}
