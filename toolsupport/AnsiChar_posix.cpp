// The code page 936 as Windows has it: the C library's table (iconv's "CP936") lacks
// the codes that Windows maps to the private use area, its user-defined rows and the
// codes it leaves unassigned; those come from the ranges below.
#include <iconv.h>

#include <cstring>

#include "toolsupport/AnsiChar.h"

namespace {

// Codes lead x trail in the given ranges, counted row by row without the trail 0x7F,
// stand for consecutive code points from `first` on.
struct PrivateRange {
  unsigned char leadFirst, leadLast, trailFirst, trailLast;
  char32_t first;
};

constexpr PrivateRange kPrivateRanges[] = {
    {0xAA, 0xAF, 0xA1, 0xFE, 0xE000}, {0xF8, 0xFE, 0xA1, 0xFE, 0xE234}, {0xA1, 0xA7, 0x40, 0xA0, 0xE4C6},
    {0xA2, 0xA2, 0xAB, 0xB0, 0xE766}, {0xA2, 0xA2, 0xE3, 0xE4, 0xE76C}, {0xA2, 0xA2, 0xEF, 0xF0, 0xE76E},
    {0xA2, 0xA2, 0xFD, 0xFE, 0xE770}, {0xA4, 0xA4, 0xF4, 0xFE, 0xE772}, {0xA5, 0xA5, 0xF7, 0xFE, 0xE77D},
    {0xA6, 0xA6, 0xB9, 0xC0, 0xE785}, {0xA6, 0xA6, 0xD9, 0xDF, 0xE78D}, {0xA6, 0xA6, 0xEC, 0xED, 0xE794},
    {0xA6, 0xA6, 0xF3, 0xF3, 0xE796}, {0xA6, 0xA6, 0xF6, 0xFE, 0xE797}, {0xA7, 0xA7, 0xC2, 0xD0, 0xE7A0},
    {0xA7, 0xA7, 0xF2, 0xFE, 0xE7AF}, {0xA8, 0xA8, 0x96, 0xA0, 0xE7BC}, {0xA8, 0xA8, 0xBC, 0xBC, 0xE7C7},
    {0xA8, 0xA8, 0xBF, 0xBF, 0xE7C8}, {0xA8, 0xA8, 0xC1, 0xC4, 0xE7C9}, {0xA8, 0xA8, 0xEA, 0xFE, 0xE7CD},
    {0xA9, 0xA9, 0x58, 0x58, 0xE7E2}, {0xA9, 0xA9, 0x5B, 0x5B, 0xE7E3}, {0xA9, 0xA9, 0x5D, 0x5F, 0xE7E4},
    {0xA9, 0xA9, 0x89, 0x95, 0xE7E7}, {0xA9, 0xA9, 0x97, 0xA3, 0xE7F4}, {0xA9, 0xA9, 0xF0, 0xFE, 0xE801},
    {0xD7, 0xD7, 0xFA, 0xFE, 0xE810}, {0xFE, 0xFE, 0x50, 0xA0, 0xE815},
};

char32_t TrailsBefore(unsigned char first, unsigned char trail) {
  return trail - first - (first < 0x7F && trail > 0x7F ? 1 : 0);
}

bool PrivateUse(unsigned char lead, unsigned char trail, char32_t& codePoint) {
  if (trail == 0x7F) return false;
  for (const PrivateRange& range : kPrivateRanges) {
    if (lead < range.leadFirst || lead > range.leadLast || trail < range.trailFirst || trail > range.trailLast)
      continue;
    const char32_t row = TrailsBefore(range.trailFirst, range.trailLast) + 1;
    codePoint = range.first + (lead - range.leadFirst) * row + TrailsBefore(range.trailFirst, trail);
    return true;
  }
  return false;
}

// Opened once for the process and left to its end.
iconv_t Conversion() {
  static const iconv_t conversion = iconv_open("UTF-32LE", "CP936");
  return conversion;
}

}  // namespace

bool DecodeAnsiChar(const char* bytes, std::size_t length, char32_t& codePoint) {
  if (length == 0 || length > 2) return false;
  const auto* unsignedBytes = reinterpret_cast<const unsigned char*>(bytes);
  if (length == 2 && PrivateUse(unsignedBytes[0], unsignedBytes[1], codePoint)) return true;
  const iconv_t conversion = Conversion();
  if (conversion == reinterpret_cast<iconv_t>(-1)) return false;
  iconv(conversion, nullptr, nullptr, nullptr, nullptr);
  char in[2], out[8];
  std::memcpy(in, bytes, length);
  char* inAt = in;
  char* outAt = out;
  size_t inLeft = length, outLeft = sizeof out;
  if (iconv(conversion, &inAt, &inLeft, &outAt, &outLeft) == static_cast<size_t>(-1) || inLeft != 0 ||
      outLeft != sizeof out - 4)
    return false;
  const auto* unit = reinterpret_cast<const unsigned char*>(out);
  codePoint = unit[0] | char32_t{unit[1]} << 8 | char32_t{unit[2]} << 16 | char32_t{unit[3]} << 24;
  return true;
}
