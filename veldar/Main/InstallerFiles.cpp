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

bool ReadTextFile(const std::string& name, std::string& text, DWORD& error) {
  KernelHandle file = FileNamed(CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    error = GetLastError();
    return false;
  }
  // GetFileSize, not GetFileSizeEx, which the documentation gives only from Windows XP.
  DWORD high = 0;
  SetLastError(NO_ERROR);
  const DWORD low = GetFileSize(file.Get(), &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
    error = GetLastError();
    return false;
  }
  // Scripts are text; anything that does not fit in memory is refused, not cut.
  if (high != 0 || low > 0x7fffffff) {
    error = ERROR_FILE_TOO_LARGE;
    return false;
  }
  text.assign(static_cast<size_t>(low), '\0');
  size_t done = 0;
  while (done < text.size()) {
    DWORD read = 0;
    if (!ReadFile(file.Get(), &text[done], static_cast<DWORD>(text.size() - done), &read, nullptr)) {
      error = GetLastError();
      return false;
    }
    if (read == 0) break;  // the file shrank while it was read
    done += read;
  }
  text.resize(done);
  return true;
}

bool WriteLines(const std::string& name, const std::vector<std::string>& lines, DWORD& error) {
  size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  for (const std::string& line : lines) text.append(line).append("\r\n");
  KernelHandle file = FileNamed(
      CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    error = GetLastError();
    return false;
  }
  size_t done = 0;
  while (done < text.size()) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(text.size() - done, 1u << 20));
    if (!WriteFile(file.Get(), text.data() + done, chunk, &written, nullptr) || written == 0) {
      error = GetLastError();
      return false;
    }
    done += written;
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
