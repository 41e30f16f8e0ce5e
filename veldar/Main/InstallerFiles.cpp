#include "Main/InstallerFiles.h"

bool ScriptFileReader::Open(const std::string& name, FileFailure& failure) {
  name_ = name;
  file_ = FileNamed(CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file_) return FileFailed(failure, FileFailure::Kind::Read, name, GetLastError());
  const auto read = [this](char* buffer, size_t size) { return ReadPiece(buffer, size); };
  reader_.emplace(read);
  std::string line;
  lineCount_ = 0;
  while (reader_->Next(line)) ++lineCount_;
  // SetFilePointer, not SetFilePointerEx, which the documentation gives only from Windows XP.
  LONG high = 0;
  SetLastError(NO_ERROR);
  if (!readFailure_ && SetFilePointer(file_.Get(), 0, &high, FILE_BEGIN) == INVALID_SET_FILE_POINTER &&
      GetLastError() != NO_ERROR) {
    ReadFailed(GetLastError());
  }
  if (readFailure_) {
    failure = *readFailure_;
    reader_.reset();
    return false;
  }
  reader_.emplace(read);
  return true;
}

void ScriptFileReader::Close() {
  reader_.reset();
  file_.Reset();
}

size_t ScriptFileReader::ReadPiece(char* buffer, size_t size) {
  DWORD read = 0;
  if (readFailure_) return 0;
  if (!ReadFile(file_.Get(), buffer, static_cast<DWORD>(size), &read, nullptr)) {
    ReadFailed(GetLastError());
    return 0;
  }
  return read;
}

void ScriptFileReader::ReadFailed(DWORD error) {
  FileFailed(readFailure_.emplace(), FileFailure::Kind::Read, name_, error);
}

bool CopyInstallFile(const std::string& source, const std::string& destination, bool failIfExists) {
  SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_ARCHIVE);
  const bool copied = CopyFileA(source.c_str(), destination.c_str(), failIfExists) != FALSE;
  SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_ARCHIVE);
  return copied;
}
