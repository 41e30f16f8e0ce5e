#include "integration/NewMenuTemplates.h"

#include <windows.h>

#include <cstdio>

#include "base/Handle.h"
#include "base/TextHelpers.h"
#include "base/WinVersion.h"
#include "integration/ProgramFolder.h"
#include "registry/Registry.h"

namespace {

// The templates are kept with 00 in place of their first byte, which is filled in at
// run time, so that neither archive signature stands complete in the program's file.
// An empty KZP archive: the 7-byte marker block and the 13-byte main header.
unsigned char kzpTemplate[20] = {0x00, 'z',  'p',  '!',  0x1A, 0x07, 0x00, 0xCF, 0x90, 0x73,
                                 0x00, 0x00, 0x0D, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
// An empty ZIP archive: the end-of-central-directory record alone.
unsigned char zipTemplate[22] = {0x00, 0x4B, 0x05, 0x06};

constexpr char kKzpTemplateFile[] = "kzpnew.dat";
constexpr char kZipTemplateFile[] = "zipnew.dat";

// Windows 98 SE, Me and the NT family from Windows 2000 on take the template from a
// file; Windows 95, 98 and NT 4 want the bytes in the registry.
bool TemplatesAreFiles() {
  const WindowsVersion& version = GetWindowsVersion();
  return version.major > 4 || version.minor > 10;
}

// Writes the template file unless a file of that name is there already. A file that
// could not be written completely is removed, so that a later setup makes it again.
void WriteTemplateFile(const char* path, const unsigned char* data, size_t size) {
  if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) return;
  bool complete = false;
  {
    FileStream stream(fopen(path, "wb"));
    if (!stream) return;
    complete = fwrite(data, 1, size, stream.Get()) == size;
    if (fclose(stream.Release()) != 0) complete = false;
  }
  if (!complete) DeleteFileA(path);
}

// The bytes of an empty archive of the kind, their first byte filled in.
const unsigned char* GetArchiveTemplate(ArchiveTemplate kind, size_t* size) {
  kzpTemplate[0] = 'K';
  zipTemplate[0] = 'P';
  if (kind == ArchiveTemplate::kKzp) {
    *size = sizeof kzpTemplate;
    return kzpTemplate;
  }
  *size = sizeof zipTemplate;
  return zipTemplate;
}

}  // namespace

void SetNewMenuEntry(const char* extension, ArchiveTemplate kind) {
  char shellNewKey[64];
  if (!FormatText(shellNewKey, sizeof shellNewKey, "%s\\ShellNew", extension)) return;
  size_t size = 0;
  const unsigned char* data = GetArchiveTemplate(kind, &size);
  DeleteKey(HKEY_CLASSES_ROOT, shellNewKey);
  if (TemplatesAreFiles()) {
    char path[kPathSize];
    // A program folder too long for the name is skipped, never cut into another path.
    if (!MakeProgramFilePath(kind == ArchiveTemplate::kKzp ? kKzpTemplateFile : kZipTemplateFile, path,
                             sizeof path))
      return;
    WriteTemplateFile(path, data, size);
    WriteString(HKEY_CLASSES_ROOT, shellNewKey, "FileName", path);
  } else {
    WriteBinary(HKEY_CLASSES_ROOT, shellNewKey, "Data", data, static_cast<DWORD>(size));
  }
}
