// Deleting a key with everything below it. On the NT family RegDeleteKeyA refuses keys
// that still have subkeys, so the tree is walked depth-first and deleted from its
// leaves, in repeated passes until one deletes nothing.
#include <windows.h>

#include "base/TextHelpers.h"
#include "base/WinVersion.h"
#include "registry/Registry.h"

namespace {

constexpr DWORD kSubkeyNameSize = 200;

// Keys deleted in the current pass.
int deletedKeys = 0;

void DeleteKeyWalk(HKEY root, const char* keyName) {
  if (keyName[0] == '\0') return;
  KeyHandle opened = OpenFullKey(root, keyName, KEY_READ);
  if (!opened) return;
  char subkey[kSubkeyNameSize];
  for (DWORD index = 0;; ++index) {
    DWORD length = kSubkeyNameSize;
    if (RegEnumKeyExA(opened.Get(), index, subkey, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    char childName[kKeyNameSize];
    // A name that does not fit is never cut: a cut name could be another key.
    if (FormatText(childName, sizeof childName, "%s\\%s", keyName, subkey)) DeleteKeyWalk(root, childName);
  }
  // Closed before it is deleted.
  opened.Reset();
  if (RegDeleteKeyA(root, keyName) == ERROR_SUCCESS) ++deletedKeys;
}

}  // namespace

void DeleteKeyTree(HKEY root, const char* name) {
  char fullName[kKeyNameSize];
  // An empty full name would address the root itself.
  if (!MakeKeyName(root, name, fullName) || fullName[0] == '\0') return;
  // Windows 95, 98 and Me delete a whole tree in one call.
  if (GetWinNtVersion() == 0 && RegDeleteKeyA(root, fullName) == ERROR_SUCCESS) return;
  do {
    deletedKeys = 0;
    DeleteKeyWalk(root, fullName);
  } while (deletedKeys != 0);
}
