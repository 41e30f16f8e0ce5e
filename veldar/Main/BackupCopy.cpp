#include "Main/BackupCopy.h"

#include <utility>

#include "Core/FileNames.h"

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Opens the name itself when it is a link, and folders as well as files.
constexpr DWORD kOpenTheNameItself = FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS;

using Kind = FileFailure::Kind;

// The copy, or a folder on its way, could not be made: the system's reason.
bool WriteFailed(const std::string& name, FileFailure& failure) {
  return FileFailed(failure, Kind::Write, name, GetLastError());
}

// A failure of the name itself, found without asking the system.
bool FailWithName(Kind kind, const std::string& name, FileFailure& failure) {
  failure = {kind, name, 0, std::string()};
  return false;
}

// Removes what stands at the name, if anything. A read-only leftover of an earlier run
// loses its mark first, but only when it is a plain file of one name: the mark of a
// file that a hard link leads to is not the run's to change.
bool ClearName(const std::string& name, FileFailure& failure) {
  KernelHandle existing = FileNamed(CreateFileA(name.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                                OPEN_EXISTING, kOpenTheNameItself, nullptr));
  if (!existing) {
    if (GetLastError() == ERROR_FILE_NOT_FOUND) return true;
    return WriteFailed(name, failure);
  }
  BY_HANDLE_FILE_INFORMATION info;
  const DWORD notPlain = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
  if (GetFileInformationByHandle(existing.Get(), &info) &&
      (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) && !(info.dwFileAttributes & notPlain) &&
      info.nNumberOfLinks == 1) {
    SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_ARCHIVE);
  }
  existing.Reset();
  return DeleteFileA(name.c_str()) || WriteFailed(name, failure);
}

bool CopyContents(HANDLE from, HANDLE to) {
  std::vector<char> buffer(64 * 1024);
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(from, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) return false;
    if (read == 0) return true;
    DWORD written = 0;
    if (!WriteFile(to, buffer.data(), read, &written, nullptr)) return false;
    if (written != read) {
      SetLastError(ERROR_WRITE_FAULT);
      return false;
    }
  }
}

}  // namespace

bool BackupCopy::Create(const std::string& source, const std::string& destination, FileFailure& failure) {
  Remove();
  if (CreateCopy(source, destination, failure)) return true;
  Remove();
  return false;
}

bool BackupCopy::CreateCopy(const std::string& source, const std::string& destination, FileFailure& failure) {
  std::vector<std::string> folders;
  if (!FoldersBelowRoot(destination, IsAnsiLeadByte, folders))
    return FailWithName(Kind::BadName, destination, failure);
  if (!HoldFolders(folders, failure)) return false;
  // The source is opened first: a missing backup leaves what stands at the name, and a
  // source that is the destination itself cannot be removed while it is open.
  const KernelHandle from = FileNamed(CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!from) return FileFailed(failure, Kind::Read, source, GetLastError());
  if (!ClearName(destination, failure)) return false;
  const KernelHandle to = FileNamed(CreateFileA(destination.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                                CREATE_NEW, FILE_ATTRIBUTE_ARCHIVE, nullptr));
  if (!to) return WriteFailed(destination, failure);
  if (!GetFileInformationByHandle(to.Get(), &identity_)) return WriteFailed(destination, failure);
  name_ = destination;
  return CopyContents(from.Get(), to.Get()) || WriteFailed(destination, failure);
}

void BackupCopy::Remove() {
  if (!name_.empty()) {
    const KernelHandle file = FileNamed(CreateFileA(name_.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                                    OPEN_EXISTING, kOpenTheNameItself, nullptr));
    // Whatever took the copy's place since is not the run's to delete.
    if (file && IsTheCopy(file.Get())) DeleteFileA(name_.c_str());
    name_.clear();
  }
  Release();
}

bool BackupCopy::HoldFolders(const std::vector<std::string>& folders, FileFailure& failure) {
  for (const std::string& folder : folders) {
    // Held without sharing deletion, the folder cannot be renamed, removed or replaced
    // until the copy is deleted; the folders below it are found through it.
    KernelHandle held = FileNamed(CreateFileA(folder.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                              kOpenTheNameItself, nullptr));
    if (!held) return WriteFailed(folder, failure);
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(held.Get(), &info)) return WriteFailed(folder, failure);
    // The name is asked too: Wine reports a folder that is a link of the host's file
    // system by its name only.
    const DWORD named = GetFileAttributesA(folder.c_str());
    if (named == INVALID_FILE_ATTRIBUTES) return WriteFailed(folder, failure);
    if ((info.dwFileAttributes | named) & FILE_ATTRIBUTE_REPARSE_POINT)
      return FailWithName(Kind::Link, folder, failure);
    if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      return FileFailed(failure, Kind::Write, folder, ERROR_DIRECTORY);
    folders_.push_back(std::move(held));
  }
  return true;
}

bool BackupCopy::IsTheCopy(HANDLE file) const {
  BY_HANDLE_FILE_INFORMATION info;
  return GetFileInformationByHandle(file, &info) &&
         info.dwVolumeSerialNumber == identity_.dwVolumeSerialNumber &&
         info.nFileIndexHigh == identity_.nFileIndexHigh && info.nFileIndexLow == identity_.nFileIndexLow;
}

void BackupCopy::Release() {
  folders_.clear();
}
