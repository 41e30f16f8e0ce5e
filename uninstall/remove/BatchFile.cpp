#include "remove/BatchFile.h"

#include "base/TextHelpers.h"

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

bool ComposeBatchFile(const char* program, const char* folder, const char* batch, bool ntFamily,
                      std::string* text) {
  char e[kBatchPieceSize], d[kBatchPieceSize], b[kBatchPieceSize];
  if (!DoublePercentSigns(program, e, sizeof e) || !DoublePercentSigns(folder, d, sizeof d) ||
      !DoublePercentSigns(batch, b, sizeof b))
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
  if (!FormatText(piece, sizeof piece, ":done\r\nif exist \"%s\" \"%s\" /warning\r\ndel \"%s\"", e, e, b))
    return false;
  text->append(piece);
  return true;
}
