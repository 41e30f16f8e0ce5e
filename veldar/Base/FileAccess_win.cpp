#include "Base/FileAccess.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>

#include "Base/Handle.h"

namespace {

// A name in the folder of `file` that no other writer picks: process id and attempt.
std::string TemporaryNameBeside(const std::string& file, unsigned attempt) {
  const std::size_t separator = file.find_last_of("\\/:");
  const std::string folder = separator == std::string::npos ? std::string() : file.substr(0, separator + 1);
  return folder + "~sqe" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(attempt) + ".tmp";
}

bool WriteAll(HANDLE file, std::string_view data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size() - done, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, data.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

}  // namespace

std::string SystemErrorText(unsigned long code) {
  char* buffer = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text = length ? std::string(buffer, length) : std::string();
  LocalFree(buffer);
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
  if (text.empty()) {
    char number[16];
    std::snprintf(number, sizeof number, "0x%08lX", code);
    text = number;
  }
  return text;
}

bool FileExists(const std::string& name) {
  const DWORD attributes = GetFileAttributesA(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ReadWholeFile(const std::string& file, std::string& data, FileFailure& failure) {
  // Others may go on writing the file: a script being edited can still be enciphered.
  const KernelHandle handle =
      FileNamed(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!handle) return FileFailed(failure, FileFailure::Kind::Read, file, GetLastError());
  std::string result;
  // Only a hint for the buffer; GetFileSize rather than GetFileSizeEx (Windows XP on).
  DWORD high = 0;
  const DWORD low = GetFileSize(handle.Get(), &high);
  if (low != INVALID_FILE_SIZE && high == 0) result.reserve(low);
  char buffer[65536];
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(handle.Get(), buffer, sizeof buffer, &n, nullptr))
      return FileFailed(failure, FileFailure::Kind::Read, file, GetLastError());
    if (n == 0) break;
    result.append(buffer, n);
  }
  data = std::move(result);
  return true;
}

bool ReplaceFileContents(const std::string& file, const std::string& data, FileFailure& failure) {
  // Windows refuses to replace a read-only file, but not every file system behind the
  // API does; the read-only mark is the user's, so it is honoured here in any case.
  const DWORD attributes = GetFileAttributesA(file.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    return FileFailed(failure, FileFailure::Kind::Write, file, ERROR_ACCESS_DENIED);
  std::string temporary;
  HANDLE created = INVALID_HANDLE_VALUE;
  for (unsigned attempt = 0; created == INVALID_HANDLE_VALUE; ++attempt) {
    temporary = TemporaryNameBeside(file, attempt);
    created =
        CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      if (error != ERROR_FILE_EXISTS || attempt == 100)
        return FileFailed(failure, FileFailure::Kind::Write, file, error);
    }
  }
  KernelHandle handle(created);
  bool written = WriteAll(handle.Get(), data) && FlushFileBuffers(handle.Get());
  DWORD error = GetLastError();
  if (!CloseHandle(handle.Release()) && written) {
    written = false;
    error = GetLastError();
  }
  if (written &&
      MoveFileExA(temporary.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  if (written) error = GetLastError();
  DeleteFileA(temporary.c_str());
  return FileFailed(failure, FileFailure::Kind::Write, file, error);
}

namespace {

HANDLE AsHandle(std::intptr_t value) {
  return reinterpret_cast<HANDLE>(value);
}

}  // namespace

bool OutputFile::Create(const std::string& name, FileFailure& failure) {
  Abandon();
  const HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return FileFailed(failure, FileFailure::Kind::Write, name, GetLastError());
  name_ = name;
  handle_ = reinterpret_cast<std::intptr_t>(file);
  return true;
}

bool OutputFile::WriteAt(std::uint64_t offset, std::string_view data, bool end, FileFailure& failure) {
  // SetFilePointer, not SetFilePointerEx, which the documentation gives only from Windows XP.
  LONG high = static_cast<LONG>(offset >> 32);
  SetLastError(NO_ERROR);
  if (SetFilePointer(AsHandle(handle_), static_cast<LONG>(offset & 0xffffffffu), &high, FILE_BEGIN) ==
          INVALID_SET_FILE_POINTER &&
      GetLastError() != NO_ERROR)
    return FileFailed(failure, FileFailure::Kind::Write, name_, GetLastError());
  if (!WriteAll(AsHandle(handle_), data) || (end && !SetEndOfFile(AsHandle(handle_))))
    return FileFailed(failure, FileFailure::Kind::Write, name_, GetLastError());
  return true;
}

bool OutputFile::Close(FileFailure& failure) {
  const HANDLE file = AsHandle(std::exchange(handle_, kNone));
  bool closed = FlushFileBuffers(file) != FALSE;
  DWORD error = closed ? NO_ERROR : GetLastError();
  if (!CloseHandle(file) && closed) {
    closed = false;
    error = GetLastError();
  }
  return closed || FileFailed(failure, FileFailure::Kind::Write, name_, error);
}

void OutputFile::Abandon() {
  if (IsOpen()) CloseHandle(AsHandle(std::exchange(handle_, kNone)));
}
