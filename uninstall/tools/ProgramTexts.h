// The texts of the uninstall that a language file translates, each with its key: the
// messages of its string table and the captions and control texts of its dialogs, in
// the code page 936 and cut to the program's buffers, as the program computes the keys.
#pragma once

#include <string>
#include <vector>

#include "tools/ResourceReader.h"

struct ProgramText {
  std::string source;  // "message 5107", "SETUPDLG caption", "SETUPDLG control 3", "SETUPDLG scale"
  std::string text;
  std::string key;
  bool optional = false;  // a setting (scale, reading direction), not a text to translate
};

struct ProgramTexts {
  std::vector<ProgramText> texts;
  std::vector<std::string> problems;  // dialogs a language library lacks
};

// The messages always come from the program's own string table (with a language file
// the program makes their keys from its own texts); the dialogs from the language
// library when one is given, else from the program.
ProgramTexts CollectProgramTexts(const std::vector<Resource>& own, const std::vector<Resource>* library);
