#include <sys/stat.h>

#include "Main/FileNames.h"
#include "tools/FileCheck.h"

bool PlainFileExists(const std::string& name) {
  std::string path = name;
  for (size_t i = 0; i < path.size(); i = NextCharAt(path, i, IsAnsiLeadByte))
    if (path[i] == '\\') path[i] = '/';
  struct stat info;
  return stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}
