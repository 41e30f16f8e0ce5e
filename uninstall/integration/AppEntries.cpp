#include "integration/AppEntries.h"

#include <windows.h>

#include "base/Components.h"
#include "base/TextHelpers.h"
#include "integration/ProgramFolder.h"
#include "language/MessageText.h"
#include "registry/Registry.h"
#include "resources/resource.h"

void SetAppPath() {
  char archiver[kPathSize];
  if (MakeProgramFilePath(components::kArchiver, archiver, sizeof archiver))
    WriteString(HKEY_LOCAL_MACHINE, kAppPathsKey, "", archiver);
  char directory[kPathSize];
  DWORD length = GetCurrentDirectoryA(sizeof directory, directory);
  // A longer directory would not fit; it is left out rather than cut.
  if (length != 0 && length < sizeof directory)
    WriteString(HKEY_LOCAL_MACHINE, kAppPathsKey, "Path", directory);
}

void WriteUninstallEntry() {
  WriteString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName", GetMessageText(IDS_DISPLAY_NAME));
  // The system runs this value as a command line: quoted, a path with blanks cannot
  // start another program that lies along it ("C:\Program.exe").
  char program[kPathSize];
  char command[kPathSize + 2];
  if (GetProgramPath(program, sizeof program) && FormatText(command, sizeof command, "\"%s\"", program))
    WriteString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", command);
}
