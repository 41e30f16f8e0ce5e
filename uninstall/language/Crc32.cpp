#include "language/Crc32.h"

#include <cstring>

namespace {

uint32_t crcTable[256];

// Built on first use; the table counts as not built while its entry 1 is 0.
void BuildTable() {
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int bit = 0; bit < 8; ++bit) c = (c & 1) != 0 ? (c >> 1) ^ 0xEDB88320u : c >> 1;
    crcTable[i] = c;
  }
}

inline uint32_t Step(uint32_t c, unsigned char byte) {
  return crcTable[(c ^ byte) & 0xFF] ^ (c >> 8);
}

}  // namespace

uint32_t Crc32(uint32_t crc, const void* data, size_t size) {
  if (crcTable[1] == 0) BuildTable();
  const unsigned char* p = static_cast<const unsigned char*>(data);
  uint32_t c = ~crc;
  // Eight bytes per loop pass, then the rest byte by byte.
  for (; size >= 8; size -= 8, p += 8) {
    c = Step(c, p[0]);
    c = Step(c, p[1]);
    c = Step(c, p[2]);
    c = Step(c, p[3]);
    c = Step(c, p[4]);
    c = Step(c, p[5]);
    c = Step(c, p[6]);
    c = Step(c, p[7]);
  }
  for (; size > 0; --size, ++p) c = Step(c, *p);
  return ~c;
}

uint32_t Crc32Text(uint32_t crc, const char* text) {
  return Crc32(crc, text, strlen(text));
}
