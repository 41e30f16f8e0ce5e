#include <iconv.h>

#include "base/TextHelpers.h"
#include "tools/CodePage.h"

namespace {

// Converts `size` bytes; false when iconv cannot convert all of them.
bool Convert(const char* from, const char* bytes, size_t size, std::string& converted) {
  iconv_t conversion = iconv_open("CP936", from);
  if (conversion == reinterpret_cast<iconv_t>(-1)) return false;
  std::string output(size * 2 + 8, '\0');
  char* in = const_cast<char*>(bytes);
  size_t inLeft = size;
  char* out = &output[0];
  size_t outLeft = output.size();
  const bool ok = iconv(conversion, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1) && inLeft == 0;
  iconv_close(conversion);
  if (ok) converted.append(output.data(), output.size() - outLeft);
  return ok;
}

}  // namespace

std::string Utf16ToCodePage936(const std::u16string& text) {
  std::string converted;
  // One character at a time, so that one the code page lacks costs only itself.
  for (size_t i = 0; i < text.size();) {
    const bool pair = text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                      text[i + 1] < 0xE000;
    const size_t units = pair ? 2 : 1;
    char bytes[4];
    for (size_t u = 0; u < units; ++u) {
      bytes[2 * u] = static_cast<char>(text[i + u] & 0xFF);
      bytes[2 * u + 1] = static_cast<char>(text[i + u] >> 8);
    }
    if (!Convert("UTF-16LE", bytes, 2 * units, converted)) converted += '?';
    i += units;
  }
  return converted;
}

std::string Utf8ToCodePage936(const std::string& text) {
  std::string converted;
  return Convert("UTF-8", text.data(), text.size(), converted) ? converted : text;
}

void UseCodePage936LeadBytes() {
  for (int i = 0; i < 256; ++i) dbcsTable.leadByte[i] = i >= 0x81 && i <= 0xFE;
  dbcsTable.multiByte = true;
}
