// What the uninstall would make of a language file: where its section marker stands and
// whether the program finds it, every entry with its key and the text a lookup gives,
// the entries a lookup never gives as written, and the program's texts that get no
// translation. The file is read with the program's own section reader and lookups.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/ProgramTexts.h"

struct LanguageEntry {
  size_t line = 0;
  std::string key;
  std::string text;    // as a lookup of this line gives it
  std::string usedBy;  // the program's texts with this key, or empty
};

struct LanguageFinding {
  size_t line = 0;
  std::string reason;
};

struct LanguageReport {
  int64_t markerOffset = -1;  // -1: the program finds no marker
  size_t markerLine = 0;
  std::vector<std::string> problems;  // about the file as a whole
  std::vector<LanguageEntry> entries;
  std::vector<LanguageFinding> unreachable;  // by line
  std::vector<ProgramText> untranslated;
};

LanguageReport CheckLanguageFile(const std::string& bytes, const ProgramTexts& texts);
