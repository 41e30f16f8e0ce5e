#include "Main/InstallerFiles.h"

#include <algorithm>

#include "Main/Handle.h"

std::string SystemErrorText(DWORD code) {
  char* buffer = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text = length ? std::string(buffer, length) : std::string();
  LocalFree(buffer);
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
  if (text.empty()) {
    char number[16];
    wsprintfA(number, "0x%08lX", code);
    text = number;
  }
  return text;
}

bool ScriptFileReader::Open(const std::string& name, DWORD& error) {
  file_ = FileNamed(CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file_) {
    error = GetLastError();
    return false;
  }
  const auto read = [this](char* buffer, size_t size) { return ReadPiece(buffer, size); };
  reader_.emplace(read);
  std::string line;
  lineCount_ = 0;
  while (reader_->Next(line)) ++lineCount_;
  // SetFilePointer, not SetFilePointerEx, which the documentation gives only from Windows XP.
  LONG high = 0;
  SetLastError(NO_ERROR);
  if (readError_ == 0 && SetFilePointer(file_.Get(), 0, &high, FILE_BEGIN) == INVALID_SET_FILE_POINTER &&
      GetLastError() != NO_ERROR) {
    readError_ = GetLastError();
  }
  if (readError_ != 0) {
    error = readError_;
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
  if (readError_ != 0) return 0;
  if (!ReadFile(file_.Get(), buffer, static_cast<DWORD>(size), &read, nullptr)) {
    readError_ = GetLastError();
    return 0;
  }
  return read;
}

bool WriteLog(const std::string& name, const RunLog& log, DWORD& error) {
  KernelHandle file = FileNamed(
      CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    error = GetLastError();
    return false;
  }
  for (const std::string& block : log.Blocks()) {
    for (size_t done = 0; done < block.size();) {
      DWORD written = 0;
      if (!WriteFile(file.Get(), block.data() + done, static_cast<DWORD>(block.size() - done), &written,
                     nullptr) ||
          written == 0) {
        error = GetLastError();
        return false;
      }
      done += written;
    }
  }
  if (!CloseHandle(file.Release())) {
    error = GetLastError();
    return false;
  }
  return true;
}

bool FileExists(const std::string& name) {
  const DWORD attributes = GetFileAttributesA(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CopyInstallFile(const std::string& source, const std::string& destination, bool failIfExists) {
  SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_ARCHIVE);
  const bool copied = CopyFileA(source.c_str(), destination.c_str(), failIfExists) != FALSE;
  SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_ARCHIVE);
  return copied;
}
