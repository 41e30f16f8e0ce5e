#include "remove/SelfRemovalBatch.h"

#include <windows.h>

#include <string>

#include "base/CodePageText.h"
#include "base/WholeFile.h"
#include "remove/BatchFile.h"
#include "remove/PrivateFolder.h"

namespace {

constexpr char kBatchSuffix[] = ".Bat";

bool GetTempFolder(char* folder, size_t capacity) {
  DWORD length = GetTempPathA(static_cast<DWORD>(capacity), folder);
  return length != 0 && length < capacity;
}

bool Compose(const char* program, const char* folder, const SelfRemovalBatch& batch, bool ntFamily,
             std::string* text) {
  return ComposeBatchFile({program, folder, batch.path, batch.folder}, ntFamily, SystemOemConversion(), text);
}

bool WriteAll(HANDLE file, const std::string& text) {
  DWORD written = 0;
  return WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
         written == text.size();
}

// The batch file, open for writing, created new where it belongs.
struct NewFile {
  KernelHandle handle;
  SECURITY_ATTRIBUTES* security = nullptr;
};

bool CreateInto(const char* path, void* context) {
  auto* file = static_cast<NewFile*>(context);
  file->handle = CreateNewFile(path, file->security);
  return file->handle.IsValid();
}

// The batch's place: a new folder with the file inside, or a free file name.
bool CreateBatchFile(const char* temp, bool ntFamily, PrivateSecurity& security, SelfRemovalBatch* batch,
                     NewFile* file) {
  batch->folder[0] = batch->path[0] = '\0';
  if (!ntFamily) return MakeNewName(temp, kBatchSuffix, batch->path, sizeof batch->path, CreateInto, file);
  if (!MakePrivateFolder(temp, security, batch->folder, sizeof batch->folder)) return false;
  file->security = security.Attributes();
  if (FormatText(batch->path, sizeof batch->path, "%s\\%s", batch->folder, kBatchFileName))
    return CreateInto(batch->path, file);
  batch->path[0] = '\0';  // a cut name is none of ours
  return false;
}

void RemoveBatch(const SelfRemovalBatch& batch) {
  DeleteFileA(batch.path);
  if (batch.folder[0] != '\0') RemoveDirectoryA(batch.folder);
}

}  // namespace

bool PrepareSelfRemovalBatch(const char* program, bool ntFamily, SelfRemovalBatch* batch) {
  char temp[kPathSize];
  char folder[kPathSize];
  DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
  if (length == 0 || length >= sizeof folder || !GetTempFolder(temp, sizeof temp)) return false;
  PrivateSecurity security;
  NewFile file;
  std::string text;
  bool made = CreateBatchFile(temp, ntFamily, security, batch, &file) &&
              Compose(program, folder, *batch, ntFamily, &text) &&
              MakeBatchCommand(batch->path, batch->folder, ntFamily, &batch->command) && WriteAll(file.handle.Get(), text);
  made = CloseHandle(file.handle.Release()) && made;
  if (!made) RemoveBatch(*batch);
  return made;
}

bool SelfRemovalBatchExists(const char* program, const char* folder, bool ntFamily) {
  char temp[kPathSize];
  char pattern[kPathSize];
  if (!GetTempFolder(temp, sizeof temp) || !FormatText(pattern, sizeof pattern, "%sKzp*", temp)) return false;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool exists = false;
  do {
    // A batch is known by its whole text, which names this program.
    SelfRemovalBatch batch;
    const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (isFolder != ntFamily) continue;
    bool named = ntFamily
                     ? FormatText(batch.folder, sizeof batch.folder, "%s%s", temp, found.cFileName) &&
                           FormatText(batch.path, sizeof batch.path, "%s\\%s", batch.folder, kBatchFileName)
                     : (batch.folder[0] = '\0',
                        FormatText(batch.path, sizeof batch.path, "%s%s", temp, found.cFileName));
    std::string expected, text;
    exists = named && Compose(program, folder, batch, ntFamily, &expected) &&
             ReadWholeFile(batch.path, &text) && text == expected;
  } while (!exists && FindNextFileA(search, &found));
  FindClose(search);
  return exists;
}
