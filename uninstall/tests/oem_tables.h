// Stand-ins for the system's code pages in the batch's tests: the bytes as they are, and
// the code page 1251 read as 866 through a table of Cyrillic letters.
#pragma once

#include <cstring>
#include <string>

#include "base/CodePageText.h"

class SameCodePage : public OemConversion {
 public:
  bool ToOem(const char* ansi, std::string* oem) const override { return *oem = ansi, true; }
};

// "П", "р", "о", "г", "а", "м", "ы", "ё", "т" and "Ё" in 1251, and in 866 at the same place;
// ASCII stays, anything else has no OEM form.
inline constexpr char kCyrillic1251[] = "\xCF\xF0\xEE\xE3\xE0\xEC\xFB\xB8\xF2\xA8";
inline constexpr char kCyrillic866[] = "\x8F\xE0\xAE\xA3\xA0\xAC\xEB\xF1\xE2\xF0";

class Cyrillic1251To866 : public OemConversion {
 public:
  bool ToOem(const char* ansi, std::string* oem) const override {
    oem->clear();
    for (const char* p = ansi; *p != '\0'; ++p) {
      const char* letter = std::strchr(kCyrillic1251, *p);
      if (static_cast<unsigned char>(*p) >= 0x80 && letter == nullptr) return false;
      oem->push_back(letter != nullptr ? kCyrillic866[letter - kCyrillic1251] : *p);
    }
    return true;
  }
};
