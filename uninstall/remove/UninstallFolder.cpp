#include "remove/UninstallFolder.h"

#include "base/TextHelpers.h"

bool CutToFolder(char* path) {
  char* slash = FindLastChar(path, '\\');
  if (slash == nullptr) return false;
  // No code page has the colon as a trail byte: the byte before is the colon itself.
  if (slash > path && IsDriveDiv(slash[-1])) {
    slash[1] = '\0';
  } else {
    *slash = '\0';
  }
  return true;
}
