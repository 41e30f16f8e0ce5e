#include "remove/UninstallFolder.h"

#include "base/TextHelpers.h"

bool CutToFolder(char* path) {
  char* slash = nullptr;
  char* previous = nullptr;  // the character before the last backslash
  char* before = nullptr;
  for (char* p = path; *p != '\0'; before = p, p = NextChar(p)) {
    if (*p == '\\') {
      slash = p;
      previous = before;
    }
  }
  if (slash == nullptr) return false;
  if (previous != nullptr && IsDriveDiv(*previous)) {
    slash[1] = '\0';
  } else {
    *slash = '\0';
  }
  return true;
}
