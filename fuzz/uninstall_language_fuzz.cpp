// Fuzzes the language file of uninstall: section, index, lookups, Translate into small and
// large destinations and the scale entries; an overrun shows as a sanitizer report.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "language/DialogScale.h"
#include "language/LanguageResources.h"
#include "tests/memory_source.h"

namespace {

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
  std::string file(kPadding[data[0] % 16], '.');
  file.append(reinterpret_cast<const char*>(data) + 1, size - 1);
  MemorySource source(std::move(file));
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
