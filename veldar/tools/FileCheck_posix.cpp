#include "Base/FileAccess.h"
#include "Core/FileNames.h"
#include "tools/FileCheck.h"

bool PlainFileExists(const std::string& name) {
  std::string path = name;
  for (size_t i = 0; i < path.size(); i = NextCharAt(path, i, IsAnsiLeadByte))
    if (path[i] == '\\') path[i] = '/';
  return FileExists(path);
}
