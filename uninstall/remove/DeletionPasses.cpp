#include "remove/DeletionPasses.h"

#include <windows.h>

#include <initializer_list>

#include "base/Components.h"
#include "base/TextHelpers.h"
#include "remove/InstallationList.h"

bool DeleteListedPath(const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  SetFileAttributesA(path, 0);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return RemoveDirectoryA(path) != FALSE;
  return DeleteFileA(path) != FALSE;
}

int RunDeletionPasses(FILE* list, const char* folder) {
  return RunListPasses(list, folder, DeleteListedPath, kPathSize);
}

void DeleteHelpIndexFiles() {
  for (const char* name : {components::kHelpIndex, components::kHelpFullTextIndex}) {
    SetFileAttributesA(name, 0);
    DeleteFileA(name);
  }
}
