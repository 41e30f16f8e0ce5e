// The snapshot of a folder through the system's file functions; names come in the ANSI
// code page. Reparse points (links, junctions) are taken as they are and not entered.
#include <windows.h>

#include "base/Handle.h"
#include "tools/FolderSnapshot.h"

namespace {

void EndSearch(HANDLE search) {
  FindClose(search);
}

bool ScanInto(const std::string& folder, const std::string& relative, FolderSnapshot& snapshot, std::string& error) {
  WIN32_FIND_DATAA found;
  const HANDLE first = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (first == INVALID_HANDLE_VALUE) {
    error = "cannot list the folder (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  Handle<HANDLE, EndSearch> search(first);
  bool ok = true;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const std::string shown = (relative.empty() ? "" : relative + "\\") + name;
    snapshot.Add(shown, isFolder);
    if (isFolder && !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
        !ScanInto(folder + "\\" + name, shown, snapshot, error))
      ok = false;
  } while (FindNextFileA(search.Get(), &found));
  return ok;
}

}  // namespace

bool ScanFolder(const std::string& folder, FolderSnapshot& snapshot, std::string& error) {
  return ScanInto(folder, std::string(), snapshot, error);
}
