#include "integration/ProgramFolder.h"

#include <windows.h>

#include "base/TextHelpers.h"

namespace {

// Set by tests only; empty means the real module file name.
char overridePath[kPathSize] = "";

}  // namespace

bool GetProgramPath(char* path, size_t capacity) {
  if (capacity == 0) return false;
  path[0] = '\0';
  if (overridePath[0] != '\0') return CopyText(path, capacity, overridePath);
  char modulePath[kPathSize];
  DWORD length = GetModuleFileNameA(nullptr, modulePath, sizeof modulePath);
  // A name that fills the buffer was cut by the system.
  if (length == 0 || length >= sizeof modulePath) return false;
  if (CopyText(path, capacity, modulePath)) return true;
  path[0] = '\0';
  return false;
}

bool MakeProgramFilePath(const char* fileName, char* path, size_t capacity) {
  if (!GetProgramPath(path, capacity)) return false;
  *PointToName(path) = '\0';
  if (AppendText(path, capacity, fileName)) return true;
  path[0] = '\0';
  return false;
}

void OverrideProgramPath(const char* modulePath) {
  if (modulePath == nullptr || !CopyText(overridePath, sizeof overridePath, modulePath))
    overridePath[0] = '\0';
}
