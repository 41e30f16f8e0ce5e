#include "integration/ShellExtension.h"

#include <windows.h>

#include "base/Components.h"
#include "base/TextHelpers.h"
#include "integration/Associations.h"
#include "integration/MachineKeys.h"
#include "integration/ProgramFolder.h"
#include "registry/Registry.h"

namespace {

constexpr int kKeySize = 128;
constexpr char kApprovedKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
constexpr char kApprovedName[] = "Zendra shell extension";

// Handler keys named by the class identifier, with an empty default value.
const char* const kClassHandlerKeys[] = {
    "Zendra\\shellex\\ContextMenuHandlers\\%s",     "Zendra\\shellex\\PropertySheetHandlers\\%s",
    "Zendra.ZIP\\shellex\\ContextMenuHandlers\\%s", "Zendra.ZIP\\shellex\\PropertySheetHandlers\\%s",
    "exefile\\shellex\\PropertySheetHandlers\\%s",
};
// Drop handlers of the archiver's classes: the class identifier as default value.
const char* const kDropHandlerKeys[] = {
    "Zendra\\shellex\\DropHandler",
    "Zendra.ZIP\\shellex\\DropHandler",
};
// Handlers of everything, folders and drives: the class identifier as default value.
// Other programs keep their entries beside ours, so giving back empties the value only.
const char* const kSharedHandlerKeys[] = {
    "*\\shellex\\ContextMenuHandlers\\Zendra",         "Folder\\shellex\\ContextMenuHandlers\\Zendra",
    "Folder\\shellex\\DragDropHandlers\\Zendra",       "Drive\\shellex\\DragDropHandlers\\Zendra",
    "Directory\\shellex\\ContextMenuHandlers\\Zendra", "Directory\\shellex\\DragDropHandlers\\Zendra",
};

void MakeClassKeys(char* classKey, char* serverKey) {
  FormatText(classKey, kKeySize, "CLSID\\%s", kShellExtensionClassId);
  FormatText(serverKey, kKeySize, "CLSID\\%s\\InProcServer32", kShellExtensionClassId);
}

void Register() {
  char classKey[kKeySize];
  char serverKey[kKeySize];
  MakeClassKeys(classKey, serverKey);
  // Without the library only its class stays unregistered; the handler entries are
  // written all the same.
  char library[kPathSize];
  if (MakeProgramFilePath(components::kShellExtension, library, sizeof library) &&
      GetFileAttributesA(library) != INVALID_FILE_ATTRIBUTES) {
    WriteString(HKEY_CLASSES_ROOT, classKey, "", kArchiveClass);
    WriteString(HKEY_CLASSES_ROOT, serverKey, "", library);
    WriteString(HKEY_CLASSES_ROOT, serverKey, "ThreadingModel", "Apartment");
  }
  char key[kKeySize];
  for (const char* format : kClassHandlerKeys) {
    FormatText(key, sizeof key, format, kShellExtensionClassId);
    WriteString(HKEY_CLASSES_ROOT, key, "", "");
  }
  for (const char* name : kDropHandlerKeys) WriteString(HKEY_CLASSES_ROOT, name, "", kShellExtensionClassId);
  for (const char* name : kSharedHandlerKeys)
    WriteString(HKEY_CLASSES_ROOT, name, "", kShellExtensionClassId);
  WriteString(HKEY_LOCAL_MACHINE, kApprovedKey, kShellExtensionClassId, kApprovedName);
}

void Unregister() {
  char classKey[kKeySize];
  char serverKey[kKeySize];
  MakeClassKeys(classKey, serverKey);
  DeleteKey(HKEY_CLASSES_ROOT, serverKey);
  DeleteKey(HKEY_CLASSES_ROOT, classKey);
  char key[kKeySize];
  for (const char* format : kClassHandlerKeys) {
    FormatText(key, sizeof key, format, kShellExtensionClassId);
    DeleteKey(HKEY_CLASSES_ROOT, key);
  }
  for (const char* name : kDropHandlerKeys) DeleteKey(HKEY_CLASSES_ROOT, name);
  for (const char* name : kSharedHandlerKeys) DeleteValue(HKEY_CLASSES_ROOT, name, "");
  DeleteValue(HKEY_LOCAL_MACHINE, kApprovedKey, kShellExtensionClassId);
}

}  // namespace

void SetShellExtension(const SetupOptions& options) {
  if (options.shellIntegration)
    Register();
  else
    Unregister();
}

bool CanChangeShellExtensionKeys() {
  char classKey[kKeySize];
  char serverKey[kKeySize];
  MakeClassKeys(classKey, serverKey);
  if (!CanChangeMachineClassKey(classKey) || !CanChangeMachineClassKey(serverKey)) return false;
  char key[kKeySize];
  for (const char* format : kClassHandlerKeys) {
    FormatText(key, sizeof key, format, kShellExtensionClassId);
    if (!CanChangeMachineClassKey(key)) return false;
  }
  for (const char* name : kDropHandlerKeys)
    if (!CanChangeMachineClassKey(name)) return false;
  for (const char* name : kSharedHandlerKeys)
    if (!CanChangeMachineClassKey(name)) return false;
  return CanChangeKey(HKEY_LOCAL_MACHINE, kApprovedKey);
}
