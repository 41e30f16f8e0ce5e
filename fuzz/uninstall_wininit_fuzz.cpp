// Fuzzes the edit of WININIT.INI: whatever the file held before, every byte of it stays
// in order around the added lines, the added lines are the ones asked for, and the text
// never grows beyond the limit because of them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "remove/WininitText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first byte chooses how many paths are added; the rest is the file.
  if (size == 0) return 0;
  const size_t count = data[0] % 8;
  const std::string before(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::vector<std::string> paths;
  for (size_t i = 0; i < count; ++i) paths.push_back("C:\\ZENDRA\\~ZD0000" + std::to_string(i) + ".TMP");

  std::string text = before;
  const size_t added = AddDeletionLines(&text, paths);
  if (added > paths.size()) abort();
  if (added == 0) {
    if (text != before) abort();
    return 0;
  }
  if (text.size() > kWininitSizeLimit && text.size() > before.size()) abort();
  // The text is the old one with one run of bytes inserted, and that run holds the
  // added lines in their order.
  size_t head = 0;
  while (head < before.size() && text[head] == before[head]) ++head;
  size_t tail = 0;
  while (tail < before.size() - head && text[text.size() - 1 - tail] == before[before.size() - 1 - tail]) ++tail;
  if (head + tail != before.size()) abort();
  const std::string inserted = text.substr(head, text.size() - before.size());
  size_t at = 0;
  for (size_t i = 0; i < added; ++i) {
    at = inserted.find("NUL=" + paths[i] + "\r\n", at);
    if (at == std::string::npos) abort();
  }
  return 0;
}
