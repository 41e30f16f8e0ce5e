#include "Base/FileAccess.h"
#include "tools/FileCheck.h"

bool PlainFileExists(const std::string& name) {
  // The installer's own check of a copy directive's file.
  return FileExists(name);
}
