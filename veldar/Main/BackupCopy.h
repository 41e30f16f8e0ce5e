// The copy of a restore directive's backup in C:\, where every local user may create
// files and folders. The copy is a new file of the run's own: whatever stood at its name
// is removed first (which removes a link, never what it leads to), it is never written
// through a folder that is a link (a reparse point), the folders on its way are held
// open until it is deleted, so that none of them can be swapped for a link meanwhile,
// and the deletion removes only the file that the copy created.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "Base/FileAccess.h"
#include "Base/Handle.h"

class BackupCopy {
 public:
  BackupCopy() = default;
  ~BackupCopy() { Release(); }
  BackupCopy(const BackupCopy&) = delete;
  BackupCopy& operator=(const BackupCopy&) = delete;

  // Copies `source` to `destination` ("X:\..."), after removing the copy made before.
  // A failure is BadName for the destination, Link for a folder on its way, Read for
  // the source, or Write for the destination or a folder on its way.
  bool Create(const std::string& source, const std::string& destination, FileFailure& failure);
  // Deletes the copy if its name still leads to the file that Create made, and lets
  // its folders go.
  void Remove();

 private:
  bool CreateCopy(const std::string& source, const std::string& destination, FileFailure& failure);
  bool HoldFolders(const std::vector<std::string>& folders, FileFailure& failure);
  bool IsTheCopy(HANDLE file) const;
  // Lets the folders go; the copy, if any, stays.
  void Release();

  std::vector<KernelHandle> folders_;
  std::string name_;  // the copy made, empty when there is none
  BY_HANDLE_FILE_INFORMATION identity_ = {};
};
