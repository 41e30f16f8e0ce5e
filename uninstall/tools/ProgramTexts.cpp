#include "tools/ProgramTexts.h"

#include "base/TextHelpers.h"
#include "language/LanguageResources.h"
#include "language/MessageText.h"
#include "tools/CodePage.h"

namespace {

// The text as the program's buffer of `size` characters holds it.
std::string Cut(const std::u16string& text, int size) {
  std::string bytes = Utf16ToCodePage936(text);
  if (bytes.size() < static_cast<size_t>(size)) return bytes;
  bytes.resize(static_cast<size_t>(size) - 1);
  TrimPartialChar(&bytes[0]);
  return bytes.c_str();
}

void Add(ProgramTexts& texts, const std::string& source, const std::string& text, const char* section,
         TranslationCategory category, bool optional = false) {
  char key[LanguageResources::kKeyLength + 1];
  LanguageResources::MakeKey(text.c_str(), section, category, key);
  texts.texts.push_back({source, text, key, optional});
}

}  // namespace

ProgramTexts CollectProgramTexts(const std::vector<Resource>& own, const std::vector<Resource>* library) {
  ProgramTexts texts;
  for (const auto& string : ReadStringTable(own))
    Add(texts, "message " + std::to_string(string.first), Cut(string.second, kMessageTextSize), nullptr,
        TranslationCategory::Message);

  const std::vector<Resource>& dialogs = library != nullptr ? *library : own;
  for (const std::string& name : DialogNames(own)) {
    const Resource* dialog = FindDialog(dialogs, name);
    DialogTexts dialogTexts;
    if (dialog == nullptr || !ReadDialogTexts(dialog->data, dialogTexts)) {
      texts.problems.push_back("the language library has no readable dialog " + name + ": the program cannot show it");
      continue;
    }
    const char* section = name.c_str();
    const int size = LanguageResources::kDialogTextSize;
    Add(texts, name + " scale", "", section, TranslationCategory::Dialog, true);
    if (!dialogTexts.caption.empty())
      Add(texts, name + " caption", Cut(dialogTexts.caption, size), section, TranslationCategory::Dialog);
    // The program looks at no more than this many controls of a dialog.
    for (const auto& control : dialogTexts.controls) {
      if (control.first > LanguageResources::kMaxDialogChildren) break;
      Add(texts, name + " control " + std::to_string(control.first), Cut(control.second, size), section,
          TranslationCategory::Dialog);
    }
  }
  Add(texts, "reading direction", "LTR", "LTR", TranslationCategory::Dialog, true);
  return texts;
}
