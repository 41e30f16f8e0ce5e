// The archiver's classes: their names, open commands and icons.
#include <windows.h>
#include <shlobj.h>

#include "base/Components.h"
#include "base/TextHelpers.h"
#include "integration/Associations.h"
#include "integration/ProgramFolder.h"
#include "language/MessageText.h"
#include "registry/Registry.h"
#include "resources/resource.h"

namespace {

// One class: its name and, when the archiver's path is known, its open command and icon.
void WriteClass(const char* className, int typeName, const char* command, const char* icon) {
  WriteString(HKEY_CLASSES_ROOT, className, "", GetMessageText(typeName));
  if (command[0] == '\0') return;
  char key[64];
  FormatText(key, sizeof key, "%s\\shell\\open\\command", className);
  WriteString(HKEY_CLASSES_ROOT, key, "", command);
  FormatText(key, sizeof key, "%s\\DefaultIcon", className);
  WriteString(HKEY_CLASSES_ROOT, key, "", icon);
}

}  // namespace

void RegisterProgIds() {
  // The buffers hold any path that fits a path buffer; a program folder too long for
  // the archiver's name leaves the classes without command and icon.
  char archiver[kPathSize];
  char command[kPathSize + 16] = "";
  char archiveIcon[kPathSize + 16] = "";
  char recoveryIcon[kPathSize + 16] = "";
  if (MakeProgramFilePath(components::kArchiver, archiver, sizeof archiver)) {
    FormatText(command, sizeof command, "\"%s\" \"%%1\"", archiver);
    FormatText(archiveIcon, sizeof archiveIcon, "%s,0", archiver);
    FormatText(recoveryIcon, sizeof recoveryIcon, "%s,1", archiver);
  }
  WriteClass(kArchiveClass, IDS_ARCHIVE_TYPE, command, archiveIcon);
  WriteClass(kZipClass, IDS_ZIP_ARCHIVE_TYPE, command, archiveIcon);
  WriteString(HKEY_CLASSES_ROOT, kRecoveryExtension, "", kRecoveryClass);
  WriteClass(kRecoveryClass, IDS_RECOVERY_VOLUME_TYPE, command, recoveryIcon);
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}
