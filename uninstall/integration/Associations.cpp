#include "integration/Associations.h"

#include <windows.h>

#include <cstring>
#include <initializer_list>

#include "base/TextHelpers.h"
#include "base/WinVersion.h"
#include "integration/MachineKeys.h"
#include "integration/NewMenuTemplates.h"
#include "registry/Registry.h"

const AssociationGroup AssociationGroups[kAssociationGroupCount] = {
    {"KZP", ".kzp", kArchiveClass},        {"ZIP", ".zip", kZipClass},
    {"CAB", ".cab", kArchiveClass},        {"ARJ", ".arj", kArchiveClass},
    {"LZH", ".lzh.lha", kArchiveClass},    {"ACE", ".ace", kArchiveClass},
    {"TAR", ".tar", kArchiveClass},        {"GZip", ".gz.tgz", kArchiveClass},
    {"UUE", ".uue.xxe.uu", kArchiveClass}, {"BZ2", ".bz2.tbz2.bz.tbz", kArchiveClass},
    {"JAR", ".jar", kArchiveClass},        {"ISO", ".iso", kArchiveClass},
};

namespace {

constexpr int kExtensionSize = 16;
constexpr int kKeySize = 64;
constexpr DWORD kClassSize = 512;
constexpr DWORD kShellNewSize = 1024;
constexpr char kContentType[] = "Content Type";
// Multi-volume KZP archives: .k00, .k01, ... The NT family gets 30 of them; giving
// the group back always handles all 100 that older systems get.
constexpr int kVolumeCountNt = 30;
constexpr int kVolumeCountMax = 100;

bool IsArchiverClass(const char* name) {
  return CompareNoCase(name, kArchiveClass) == 0 || CompareNoCase(name, kZipClass) == 0;
}

// Copies the extension that starts at `start` and returns where the next one starts,
// or null after the last. A group text is split at every "." after its first character.
const char* NextExtension(const char* start, char* extension, size_t capacity) {
  const char* end = start + 1;
  while (*end != '\0' && *end != '.') ++end;
  size_t length = static_cast<size_t>(end - start);
  if (length >= capacity) length = capacity - 1;
  memcpy(extension, start, length);
  extension[length] = '\0';
  return *end != '\0' ? end : nullptr;
}

// Records the extension's previous class, content type and New-menu entry under
// Setup\<extension> of the archiver's per-user key.
void BackUpAssociation(const char* extension, const char* backupKey, const char* shellNewKey) {
  char type[kClassSize];
  char content[kClassSize];
  char fileName[kShellNewSize];
  char nullFile[10];
  ReadString(HKEY_CLASSES_ROOT, extension, "", type, sizeof type, "");
  ReadString(HKEY_CLASSES_ROOT, extension, kContentType, content, sizeof content, "");
  ReadString(HKEY_CLASSES_ROOT, shellNewKey, "FileName", fileName, sizeof fileName, "");
  bool hasNullFile = ReadString(HKEY_CLASSES_ROOT, shellNewKey, "NullFile", nullFile, sizeof nullFile, "");
  WriteUserDword(backupKey, "Exist", KeyExists(HKEY_CLASSES_ROOT, extension) ? 1 : 0);
  WriteUserString(backupKey, "Type", type);
  WriteUserString(backupKey, "Content", content);
  WriteUserString(backupKey, "ShellNew", fileName[0] == '\0' && hasNullFile ? "*" : fileName);
}

void TakeExtension(int group, const char* extension, const SetupOptions& options) {
  char backupKey[kKeySize];
  char shellNewKey[kKeySize];
  if (!FormatText(backupKey, sizeof backupKey, "Setup\\%s", extension) ||
      !FormatText(shellNewKey, sizeof shellNewKey, "%s\\ShellNew", extension))
    return;
  // An extension that is the archiver's already keeps the backup of its real owner.
  if (!IsOwnAssociation(extension)) BackUpAssociation(extension, backupKey, shellNewKey);
  WriteString(HKEY_CLASSES_ROOT, extension, "", AssociationGroups[group].className);
  DeleteValue(HKEY_CLASSES_ROOT, extension, kContentType);

  if (group == kGroupKzp) {
    int volumes = GetWinNtVersion() != 0 ? kVolumeCountNt : kVolumeCountMax;
    for (int n = 0; n < volumes; ++n) {
      char volume[kExtensionSize];
      FormatText(volume, sizeof volume, ".k%02d", n);
      WriteString(HKEY_CLASSES_ROOT, volume, "", kArchiveClass);
      DeleteValue(HKEY_CLASSES_ROOT, volume, kContentType);
    }
  }
  if ((group == kGroupKzp || group == kGroupZip) && options.shellIntegration)
    SetNewMenuEntry(extension, group == kGroupKzp ? ArchiveTemplate::kKzp : ArchiveTemplate::kZip);
}

// Restores the owner recorded when the archiver took the extension; without a record
// the extension keeps its key with an empty class.
void GiveBackExtension(int group, const char* extension) {
  char backupKey[kKeySize];
  char shellNewKey[kKeySize];
  if (!FormatText(backupKey, sizeof backupKey, "Setup\\%s", extension) ||
      !FormatText(shellNewKey, sizeof shellNewKey, "%s\\ShellNew", extension))
    return;
  DWORD existed = ReadUserDword(backupKey, "Exist", 1);
  char type[kClassSize];
  char content[kClassSize];
  ReadUserString(backupKey, "Type", type, sizeof type, "");
  ReadUserString(backupKey, "Content", content, sizeof content, "");
  // Never hand the extension back to the archiver itself.
  if (IsArchiverClass(type)) type[0] = '\0';

  if (existed != 0) {
    WriteString(HKEY_CLASSES_ROOT, extension, "", type);
    if (content[0] != '\0')
      WriteString(HKEY_CLASSES_ROOT, extension, kContentType, content);
    else
      DeleteValue(HKEY_CLASSES_ROOT, extension, kContentType);
    char shellNew[kShellNewSize];
    ReadUserString(backupKey, "ShellNew", shellNew, sizeof shellNew, "");
    DeleteValue(HKEY_CLASSES_ROOT, shellNewKey, "FileName");
    if (shellNew[0] == '*')
      WriteString(HKEY_CLASSES_ROOT, shellNewKey, "NullFile", "");
    else if (shellNew[0] != '\0')
      WriteString(HKEY_CLASSES_ROOT, shellNewKey, "FileName", shellNew);
  } else {
    DeleteKey(HKEY_CLASSES_ROOT, shellNewKey);
    DeleteKey(HKEY_CLASSES_ROOT, extension);
  }

  if (group == kGroupKzp) {
    for (int n = 0; n < kVolumeCountMax; ++n) {
      char volume[kExtensionSize];
      FormatText(volume, sizeof volume, ".k%02d", n);
      if (existed != 0 && type[0] != '\0') {
        WriteString(HKEY_CLASSES_ROOT, volume, "", type);
        if (content[0] != '\0') WriteString(HKEY_CLASSES_ROOT, volume, kContentType, content);
      } else {
        DeleteKey(HKEY_CLASSES_ROOT, volume);
      }
    }
  }
}

}  // namespace

bool IsOwnAssociation(const char* extension) {
  char type[80];
  ReadString(HKEY_CLASSES_ROOT, extension, "", type, sizeof type, "");
  return IsArchiverClass(type);
}

void SetAssociations(const SetupOptions& options) {
  for (int group = 0; group < kAssociationGroupCount; ++group) {
    char extension[kExtensionSize];
    for (const char* next = AssociationGroups[group].extensions; next != nullptr;) {
      next = NextExtension(next, extension, sizeof extension);
      if (options.associations[group])
        TakeExtension(group, extension, options);
      else if (IsOwnAssociation(extension))
        GiveBackExtension(group, extension);
    }
  }
}

bool CanChangeAssociationKeys() {
  for (const char* name : {kArchiveClass, kZipClass, kRecoveryClass, kRecoveryExtension})
    if (!CanChangeMachineClassKey(name)) return false;
  for (const AssociationGroup& group : AssociationGroups) {
    char extension[kExtensionSize];
    for (const char* next = group.extensions; next != nullptr;) {
      next = NextExtension(next, extension, sizeof extension);
      char shellNewKey[kKeySize];
      if (!CanChangeMachineClassKey(extension) ||
          !FormatText(shellNewKey, sizeof shellNewKey, "%s\\ShellNew", extension) ||
          !CanChangeMachineClassKey(shellNewKey))
        return false;
    }
  }
  // Every volume that giving the group back may touch.
  for (int n = 0; n < kVolumeCountMax; ++n) {
    char volume[kExtensionSize];
    FormatText(volume, sizeof volume, ".k%02d", n);
    if (!CanChangeMachineClassKey(volume)) return false;
  }
  return true;
}
