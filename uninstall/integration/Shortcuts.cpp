#include "integration/Shortcuts.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

#include "base/ComPtr.h"
#include "base/Components.h"
#include "base/TextHelpers.h"
#include "base/WinVersion.h"
#include "integration/ProgramFolder.h"
#include "language/MessageText.h"
#include "resources/resource.h"

namespace {

constexpr char kDescription[] = "Zendra";
constexpr char kShortcutFile[] = "Zendra.lnk";
constexpr char kGroupFolder[] = "Zendra";
constexpr char kArchiverShortcutName[] = "Zendra";
constexpr char kLinkExtension[] = ".lnk";

// The path of a shell folder. False when the system does not know the folder: a
// shortcut must then be skipped, not made relative to the current directory.
bool GetShellFolderPath(IMalloc* allocator, int folder, char* path, size_t capacity) {
  LPITEMIDLIST list = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, folder, &list)) || list == nullptr) return false;
  char found[MAX_PATH] = "";
  BOOL ok = SHGetPathFromIDListA(list, found);
  allocator->Free(list);
  return ok && found[0] != '\0' && CopyText(path, capacity, found);
}

// Folder + name, or false when it does not fit.
bool MakeFilePath(const char* folder, const char* name, const char* extension, char* path, size_t capacity) {
  if (!CopyText(path, capacity, folder)) return false;
  AddEndSlash(path, capacity);
  return AppendText(path, capacity, name) && AppendText(path, capacity, extension);
}

// The shortcut file "Zendra.lnk" in a shell folder: made when `wanted`, else deleted.
void SetFolderShortcut(IMalloc* allocator, int folder, bool wanted, const char* target) {
  char folderPath[kPathSize];
  char file[kPathSize];
  if (!GetShellFolderPath(allocator, folder, folderPath, sizeof folderPath) ||
      !MakeFilePath(folderPath, kShortcutFile, "", file, sizeof file))
    return;
  if (!wanted)
    DeleteFileA(file);
  else if (target[0] != '\0')
    CreateShellLink(target, file, kDescription);
}

// The program group "Zendra" in a programs folder, with the archiver, its help and its
// console manual. Gives the group's folder when it was made.
void SetProgramGroup(IMalloc* allocator, int folder, bool wanted, char* groupPath, size_t groupPathSize) {
  char programs[kPathSize];
  char group[kPathSize];
  if (!GetShellFolderPath(allocator, folder, programs, sizeof programs) ||
      !MakeFilePath(programs, kGroupFolder, "", group, sizeof group))
    return;
  if (!wanted) {
    DeleteFolderTree(group);
    return;
  }
  if (groupPath != nullptr && groupPathSize > 0 && !CopyText(groupPath, groupPathSize, group))
    groupPath[0] = '\0';
  CreateDirectoryA(group, nullptr);  // an existing folder is fine

  struct Item {
    const char* name;
    const char* file;
  };
  const Item items[] = {
      {kArchiverShortcutName, components::kArchiver},
      {GetMessageText(IDS_HELP_SHORTCUT), components::kHelpShortcutTarget},
      {GetMessageText(IDS_MANUAL_SHORTCUT), components::kConsoleManual},
  };
  for (const Item& item : items) {
    if (item.file[0] == '\0' || item.name[0] == '\0') continue;
    char shortcut[kPathSize];
    char target[kPathSize];
    if (!MakeFilePath(group, item.name, kLinkExtension, shortcut, sizeof shortcut) ||
        !MakeProgramFilePath(item.file, target, sizeof target))
      continue;
    CreateShellLink(target, shortcut, kDescription);
  }
}

}  // namespace

void SetShortcuts(const SetupOptions& options, char* groupPath, size_t groupPathSize) {
  char target[kPathSize];
  if (!MakeProgramFilePath(components::kArchiver, target, sizeof target)) target[0] = '\0';
  ComPtr<IMalloc> allocator;
  if (FAILED(SHGetMalloc(allocator.Out())) || !allocator) return;

  SetFolderShortcut(allocator.Get(), CSIDL_DESKTOPDIRECTORY, options.desktopShortcut, target);
  SetFolderShortcut(allocator.Get(), CSIDL_STARTMENU, options.startMenuShortcut, target);
  SetProgramGroup(allocator.Get(), CSIDL_PROGRAMS, options.programGroup, groupPath, groupPathSize);
  // The group for all users exists on the NT family only; it is not handed back.
  if (GetWinNtVersion() != 0)
    SetProgramGroup(allocator.Get(), CSIDL_COMMON_PROGRAMS, options.programGroup, nullptr, 0);
}

bool CreateShellLink(const char* target, const char* file, const char* description) {
  ComPtr<IShellLinkA> link;
  if (FAILED(
          CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.OutVoid())))
    return false;
  // A shortcut without its target is not saved.
  if (FAILED(link->SetPath(target))) return false;
  link->SetDescription(description);
  ComPtr<IPersistFile> persist;
  if (FAILED(link->QueryInterface(IID_IPersistFile, persist.OutVoid()))) return false;
  wchar_t wideFile[MAX_PATH];
  if (MultiByteToWideChar(CP_ACP, 0, file, -1, wideFile, MAX_PATH) == 0) return false;
  return SUCCEEDED(persist->Save(wideFile, TRUE));
}

bool DeleteFolderTree(const char* path) {
  if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) return false;
  // The shell takes a list of names, each ended by a zero, the list by a second one.
  char list[kPathSize + 1];
  size_t length = strlen(path);
  if (length == 0 || length + 2 > sizeof list) return false;
  memcpy(list, path, length);
  list[length] = '\0';
  list[length + 1] = '\0';
  SHFILEOPSTRUCTA operation = {};
  operation.wFunc = FO_DELETE;
  operation.pFrom = list;
  // Not to the recycle bin; no confirmation and, as every failure of this program's
  // shell work is silent, no error box either.
  operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
  return SHFileOperationA(&operation) == 0 && !operation.fAnyOperationsAborted;
}
