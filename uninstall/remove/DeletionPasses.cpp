#include "remove/DeletionPasses.h"

#include <windows.h>

#include <initializer_list>

#include "base/Components.h"
#include "base/TextHelpers.h"
#include "base/WinVersion.h"
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

std::vector<Leftover> FindLeftovers(FILE* list, const char* folder, const char* program) {
  std::vector<Leftover> leftovers;
  rewind(list);
  VisitListEntries(
      list, folder,
      [&](const char* path) {
        DWORD attributes = GetFileAttributesA(path);
        if (attributes != INVALID_FILE_ATTRIBUTES && CompareNoCase(path, program) != 0)
          leftovers.push_back({path, (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
        return false;
      },
      kPathSize);
  for (const char* name :
       {components::kInstallationList, components::kHelpIndex, components::kHelpFullTextIndex})
    leftovers.push_back({std::string(folder) + name, false});
  return leftovers;
}
