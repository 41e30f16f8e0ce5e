// Fuzzes the language file of uninstall: section, index, lookups, Translate into small and
// large destinations and the scale entries; an overrun shows as a sanitizer report.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "language/DialogScale.h"
#include "language/LanguageResources.h"

namespace {

// The fuzz input behind `padding` dots, read like File.
class InputSource {
 public:
  InputSource(size_t padding, const uint8_t* data, size_t size)
      : padding_(padding), data_(data), size_(padding + size) {}
  int Read(void* buffer, int count) {
    char* out = static_cast<char*>(buffer);
    size_t n = position_ < size_ ? std::min(static_cast<size_t>(count), size_ - position_) : 0;
    size_t dots = position_ < padding_ ? std::min(n, padding_ - position_) : 0;
    memset(out, '.', dots);
    if (n > dots) memcpy(out + dots, data_ + (position_ + dots - padding_), n - dots);
    position_ += n;
    return static_cast<int>(n);
  }
  void Seek(int64_t offset, int) { position_ = offset < 0 ? 0 : static_cast<size_t>(offset); }
  int64_t Tell() const { return static_cast<int64_t>(position_); }

 private:
  size_t padding_;
  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
};

// Destinations are allocated at their exact capacity so that any overrun is caught.
void TranslateInto(const LanguageResources& language, const char* text, const char* section,
                   TranslationCategory category, int capacity) {
  char* output = new char[capacity];
  language.Translate(text, output, capacity, section, category);
  if (strnlen(output, capacity) >= static_cast<size_t>(capacity)) __builtin_trap();
  delete[] output;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first byte chooses a padding in front of the rest: short inputs then reach the
  // block boundaries of the marker search and its far end.
  if (size == 0) return 0;
  static const size_t kPadding[] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 8170, 8180, 16350, 130810, 130820};
  LanguageResources language;
  InputSource source(kPadding[data[0] % 16], data + 1, size - 1);
  if (!language.LoadFrom(source)) return 0;
  if (language.text[language.textLength] != '\0') __builtin_trap();

  const int capacities[] = {1, 2, 9, 256, 1024};
  for (int capacity : capacities) {
    TranslateInto(language, "hello", nullptr, TranslationCategory::Message, capacity);
    TranslateInto(language, "OK", "TESTDLG", TranslationCategory::Dialog, capacity);
    TranslateInto(language, "", "TESTDLG", TranslationCategory::Dialog, capacity);
  }
  // The same buffer as source and destination.
  char inPlace[32] = "hello";
  language.Translate(inPlace, inPlace, sizeof inPlace);

  // Keys taken from the section itself reach the entry copy for any line content.
  for (int i = 0; i < language.lineIndex.count && i < 64; ++i) {
    char key[LanguageResources::kKeyLength + 1];
    strncpy(key, language.text + language.lineIndex[i], LanguageResources::kKeyLength);
    key[LanguageResources::kKeyLength] = '\0';
    for (int capacity : capacities) {
      char* output = new char[capacity];
      language.TranslateKey(key, output, capacity);
      delete[] output;
    }
  }
  int x = 0;
  int y = 0;
  language.GetDialogScale("TESTDLG", &x, &y);
  ScaleRect window = {0, 0, 400, 300};
  Placement p = ScaleChild(window, {10, 10, 60, 31}, 9, 28, x, y);
  AddDroppedListHeight(p.height, {0, 0, 100, 100}, y);
  language.DirectionEntryIsRightToLeft();
  return 0;
}
