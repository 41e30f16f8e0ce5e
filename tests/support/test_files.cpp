#include "test_files.h"

#include <algorithm>
#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <filesystem>
#endif

namespace test_support {

#ifdef _WIN32
const char kSeparator = '\\';
#else
const char kSeparator = '/';
#endif

std::vector<std::string> Existing(const std::vector<std::string>& paths) {
  std::vector<std::string> existing;
  for (const std::string& path : paths)
    if (FileExists(path)) existing.push_back(path);
  return existing;
}

// The C runtime opens files by their ANSI names and shares them with other readers and
// writers, so a test can read a log that another process still holds open.
std::string ReadFileBytes(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return "<missing>";
  std::string bytes;
  char buffer[4096];
  size_t read;
  while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, read);
  std::fclose(file);
  return bytes;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

std::string MakeScratchFolder(const std::string& parent, const std::string& name) {
  std::string folder = parent;
  if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += kSeparator;
  folder += name;
  RemoveFolder(folder);
#ifdef _WIN32
  CreateDirectoryA(folder.c_str(), nullptr);
#else
  std::filesystem::create_directories(folder);
#endif
  return folder + kSeparator;
}

#ifdef _WIN32

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A trailing backslash stays: it may be the trail byte of a double-byte character.
void RemoveFolder(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      // A name that this code page cannot spell is reached by its short name.
      if (name.find('?') != std::string::npos && found.cAlternateFileName[0] != '\0')
        name = found.cAlternateFileName;
      const std::string entry = folder + "\\" + name;
      SetFileAttributesA(entry.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveFolder(entry);
      } else {
        DeleteFileA(entry.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryA(folder.c_str());
}

std::string TempFolder() {
  char folder[MAX_PATH] = "";
  GetTempPathA(sizeof folder, folder);
  return folder;
}

std::string ProgramFolder() {
  char path[MAX_PATH] = "";
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string program(path, length);
  return program.substr(0, program.find_last_of('\\') + 1);
}

std::string CurrentFolder() {
  char folder[MAX_PATH] = "";
  GetCurrentDirectoryA(sizeof folder, folder);
  return folder;
}

std::string WindowsPath(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

#else

bool FileExists(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::exists(path, ignored);
}

void RemoveFolder(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
}

std::string TempFolder() {
  return std::filesystem::temp_directory_path().string() + "/";
}

#endif

}  // namespace test_support
