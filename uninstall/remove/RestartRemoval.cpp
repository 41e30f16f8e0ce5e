#include "remove/RestartRemoval.h"

#include <windows.h>

#include <string>

#include "base/SystemLibrary.h"
#include "base/TextHelpers.h"
#include "base/WholeFile.h"
#include "base/WinVersion.h"
#include "remove/WininitText.h"

namespace {

// The names files are renamed to: 8.3, so that they are their own short names.
constexpr char kAsideFormat[] = "~zd%05lX.tmp";
constexpr DWORD kAsideNumbers = 0x100000;
constexpr int kAsideTries = 64;

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A leftover as it is scheduled: under its new name when it was renamed.
struct Scheduled {
  std::string original;
  std::string path;
  bool folder;
};

// Renames a file to a free name of the kind above in its folder. False, with nothing
// changed, when the file cannot be renamed (held open without delete sharing).
bool RenameAside(const std::string& path, std::string* newPath) {
  const std::string folder(path.c_str(), PointToName(path.c_str()));
  const DWORD start = GetTickCount() ^ GetCurrentProcessId();
  for (int i = 0; i < kAsideTries; ++i) {
    char name[16];
    FormatText(name, sizeof name, kAsideFormat, (start + i) % kAsideNumbers);
    const std::string candidate = folder + name;
    if (MoveFileA(path.c_str(), candidate.c_str())) {
      *newPath = candidate;
      return true;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) return false;
  }
  return false;
}

// What the system would not take keeps its name.
void PutBack(const Scheduled& item) {
  if (item.path != item.original) MoveFileA(item.path.c_str(), item.original.c_str());
}

bool ScheduleOnNtFamily(const char* path) {
  // Looked up: outside the NT family the function is missing or does nothing.
  auto moveFileEx = FindKernelFunction<BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD)>("MoveFileExA");
  return moveFileEx != nullptr && moveFileEx(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

int ScheduleOnNtFamily(const std::vector<Scheduled>& items, const char* folder) {
  int scheduled = 0;
  for (const Scheduled& item : items) {
    if (ScheduleOnNtFamily(item.path.c_str())) {
      ++scheduled;
    } else {
      PutBack(item);
    }
  }
  const bool root = folder[0] == '\0' || *PointToLastChar(folder) == '\\';
  if (scheduled > 0 && !root) ScheduleOnNtFamily(folder);
  return scheduled;
}

// The short path in the OEM code page: the file is carried out before the system has
// loaded, where only those names exist.
bool ShortOemPath(const std::string& path, std::string* shortPath) {
  char buffer[kPathSize];
  const DWORD length = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
  if (length == 0 || length >= sizeof buffer) return false;
  CharToOemA(buffer, buffer);
  *shortPath = buffer;
  return true;
}

// Adds the deletion lines to WININIT.INI; returns how many of them it holds now.
size_t AddToWininit(const std::vector<std::string>& paths) {
  char path[kPathSize];
  const UINT length = GetWindowsDirectoryA(path, sizeof path);
  if (length == 0 || length >= sizeof path) return 0;
  AddEndSlash(path, sizeof path);
  if (!AppendText(path, sizeof path, kWininitFileName)) return 0;
  std::string text;
  // A file that is there but cannot be read is left alone: rewriting it would lose the
  // lines of other programs.
  if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES && !ReadWholeFile(path, &text)) return 0;
  const size_t added = AddDeletionLines(&text, paths);
  return added > 0 && WriteWholeFile(path, text) ? added : 0;
}

int ScheduleInWininit(const std::vector<Scheduled>& items) {
  std::vector<const Scheduled*> files;
  std::vector<std::string> paths;
  for (const Scheduled& item : items) {
    // The section deletes files only: the folders stay.
    if (item.folder) continue;
    std::string shortPath;
    if (ShortOemPath(item.path, &shortPath)) {
      files.push_back(&item);
      paths.push_back(shortPath);
    } else {
      PutBack(item);
    }
  }
  const size_t added = paths.empty() ? 0 : AddToWininit(paths);
  for (size_t i = added; i < files.size(); ++i) PutBack(*files[i]);
  return static_cast<int>(added);
}

}  // namespace

int RemoveAtRestart(std::vector<Leftover> leftovers, const char* folder) {
  OrderForRestart(&leftovers);
  std::vector<Scheduled> items;
  for (const Leftover& leftover : leftovers) {
    // Gone meanwhile, or named twice and renamed already.
    if (!Exists(leftover.path)) continue;
    Scheduled item{leftover.path, leftover.path, leftover.folder};
    if (!leftover.folder) RenameAside(leftover.path, &item.path);
    items.push_back(item);
  }
  if (items.empty()) return 0;
  return GetWinNtVersion() != 0 ? ScheduleOnNtFamily(items, folder) : ScheduleInWininit(items);
}
