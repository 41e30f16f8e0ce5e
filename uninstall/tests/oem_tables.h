// Stand-ins for the system's code pages in the batch's tests: the bytes as they are, and
// the code page 1251 read as 866 through a table of the letters that the tests use.
#pragma once

#include <string>

#include "base/CodePageText.h"

class SameCodePage : public OemConversion {
 public:
  bool ToOem(const char* ansi, std::string* oem) const override { return *oem = ansi, true; }
};

// Letters of 1251 with their place in 866; ASCII stays, anything else has no OEM form.
struct CyrillicLetter {
  const char* name;
  unsigned char cp1251, cp866;
};
inline constexpr CyrillicLetter kCyrillicLetters[] = {
    {"П", 0xCF, 0x8F}, {"р", 0xF0, 0xE0}, {"о", 0xEE, 0xAE}, {"г", 0xE3, 0xA3}, {"а", 0xE0, 0xA0},
    {"м", 0xEC, 0xAC}, {"ы", 0xFB, 0xEB}, {"ё", 0xB8, 0xF1}, {"т", 0xF2, 0xE2}, {"Ё", 0xA8, 0xF0},
};

class Cyrillic1251To866 : public OemConversion {
 public:
  bool ToOem(const char* ansi, std::string* oem) const override {
    oem->clear();
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(ansi); *p != 0; ++p) {
      unsigned char mapped = *p < 0x80 ? *p : 0;
      for (const CyrillicLetter& letter : kCyrillicLetters)
        if (letter.cp1251 == *p) mapped = letter.cp866;
      if (mapped == 0) return false;
      oem->push_back(static_cast<char>(mapped));
    }
    return true;
  }
  // A UTF-8 text of ASCII and the table's letters in either code page.
  static std::string Spell(const std::string& letters, bool oem) {
    std::string text;
    for (size_t at = 0; at < letters.size();) {
      bool found = false;
      for (const CyrillicLetter& letter : kCyrillicLetters)
        if (letters.compare(at, std::char_traits<char>::length(letter.name), letter.name) == 0) {
          text.push_back(static_cast<char>(oem ? letter.cp866 : letter.cp1251));
          at += std::char_traits<char>::length(letter.name);
          found = true;
          break;
        }
      if (!found) text.push_back(letters[at++]);
    }
    return text;
  }
};
