#include "remove/BatchFile.h"

#include <cstring>

#include "base/TextHelpers.h"

namespace {

// None of these can be in a file name; "*" and "?" would make "del" a wildcard, a
// quote would end the quoted path, "<" and ">" are wildcards to the file system.
bool HoldsForbiddenCharacter(const char* path) {
  for (const char* p = path; *p != '\0'; p = NextChar(p))
    if (NextChar(p) == p + 1 && std::strchr("*?\"<>", *p) != nullptr) return true;
  return false;
}

// `path` as the batch names it: "%" doubled, in the OEM code page.
bool BatchPathText(const char* path, const OemConversion& oem, char* result, size_t capacity) {
  char doubled[kBatchPieceSize];
  std::string converted;
  return !HoldsForbiddenCharacter(path) && DoublePercentSigns(path, doubled, sizeof doubled) &&
         oem.ToOem(doubled, &converted) && CopyText(result, capacity, converted.c_str());
}

}  // namespace

bool DoublePercentSigns(const char* text, char* result, size_t capacity) {
  size_t length = 0;
  for (const char* p = text; *p != '\0';) {
    const char* next = NextChar(p);
    size_t size = static_cast<size_t>(next - p);
    bool percent = size == 1 && *p == '%';
    if (length + size + (percent ? 1 : 0) + 1 > capacity) {
      if (capacity > 0) result[0] = '\0';
      return false;
    }
    for (const char* q = p; q < next; ++q) result[length++] = *q;
    if (percent) result[length++] = '%';
    p = next;
  }
  if (capacity == 0) return false;
  result[length] = '\0';
  return true;
}

bool ComposeBatchFile(const BatchPaths& paths, bool ntFamily, const OemConversion& oem, std::string* text) {
  char e[kBatchPieceSize], d[kBatchPieceSize], b[kBatchPieceSize], f[kBatchPieceSize];
  const bool ownFolder = paths.batchFolder[0] != '\0';
  if (!BatchPathText(paths.program, oem, e, sizeof e) || !BatchPathText(paths.folder, oem, d, sizeof d) ||
      !BatchPathText(paths.batch, oem, b, sizeof b) ||
      (ownFolder && !BatchPathText(paths.batchFolder, oem, f, sizeof f)))
    return false;

  char piece[kBatchPieceSize];
  text->clear();
  // The first line waits until the uninstalling process has ended.
  bool fits = ntFamily ? FormatText(piece, sizeof piece, "\"%s\" /wait\r\n", e)
                       : FormatText(piece, sizeof piece, "start /wait \"%s\" /wait\r\n", e);
  if (!fits) return false;
  text->append(piece);
  for (int i = 0; i < kBatchDeleteTries; ++i) {
    if (!FormatText(piece, sizeof piece, "del \"%s\"\r\nrd \"%s\"\r\nif not exist \"%s\" goto done\r\n", e, d,
                    e))
      return false;
    text->append(piece);
  }
  fits = ownFolder
             ? FormatText(piece, sizeof piece,
                          ":done\r\nif exist \"%s\" \"%s\" /warning\r\ndel \"%s\" & rd \"%s\"", e, e, b, f)
             : FormatText(piece, sizeof piece, ":done\r\nif exist \"%s\" \"%s\" /warning\r\ndel \"%s\"", e, e,
                          b);
  if (!fits) return false;
  text->append(piece);
  return true;
}
