// Loading the language file next to the program, and the reading direction.
#include <cstring>

#include "base/File.h"
#include "base/TextHelpers.h"
#include "language/ExtResource.h"
#include "language/LanguageResources.h"

LanguageResources languageResources;

namespace {

// The full path of the language file: a name with a backslash is used as it is, a bare
// name is looked for in the program's folder.
bool MakeLanguagePath(const char* fileName, char* path, size_t capacity) {
  if (FindLastChar(fileName, '\\') != nullptr) return CopyText(path, capacity, fileName);
  DWORD length = GetModuleFileNameA(nullptr, path, static_cast<DWORD>(capacity));
  if (length == 0 || length >= capacity) return false;
  char* slash = FindLastChar(path, '\\');
  if (slash == nullptr) return false;
  slash[1] = '\0';
  return AppendText(path, capacity, fileName);
}

}  // namespace

void LanguageResources::Load(const char* fileName) {
  Clear();
  char path[kPathSize];
  if (MakeLanguagePath(fileName, path, sizeof path)) {
    File file;
    if (file.Open(path, nullptr, false, true)) {
      LoadFrom(file);
      file.Close();
    }
  }
  // Also without a language file: the library may ask for right-to-left dialogs.
  DetectLayout();
}

void LanguageResources::DetectLayout() {
  if (FindResourceA(ExtResource::currentModule, "RTL", RT_DIALOG) != nullptr)
    rightToLeft = true;
  else
    rightToLeft = DirectionEntryIsRightToLeft();
}
