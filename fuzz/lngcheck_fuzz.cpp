// Any bytes as a language file checked against a few texts of a program, and as a
// compiled resource file and a library image for the resource reader: everything is
// read safely, every line named lies in the file, only the program's texts come back
// untranslated, and the reports carry no raw control byte but their own line ends.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "language/LanguageResources.h"
#include "tools/CodePage.h"
#include "tools/LngCheck.h"
#include "tools/ProgramTexts.h"

namespace {

ProgramText Text(const char* source, const char* text, const char* section) {
  char key[LanguageResources::kKeyLength + 1];
  LanguageResources::MakeKey(text, section, section ? TranslationCategory::Dialog : TranslationCategory::Message, key);
  return {source, text, key, false};
}

void CheckReport(const std::string& text) {
  for (const char c : text)
    if ((static_cast<unsigned char>(c) < 0x20 && c != '\n') || c == 0x7F) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  UseCodePage936LeadBytes();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const ProgramTexts texts = {{Text("message", "Uninstall", nullptr), Text("button", "\xc8\xb7\xb6\xa8", "TESTDLG")}, {}};
  const LanguageReport report = CheckLanguageFile(bytes, texts);
  const size_t lines = static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n') +
                                           std::count(bytes.begin(), bytes.end(), '\r')) + 1;
  for (const LanguageEntry& entry : report.entries)
    if (entry.line < 1 || entry.line > lines || entry.key.size() != 8) abort();
  for (const LanguageFinding& finding : report.unreachable)
    if (finding.line < 1 || finding.line > lines) abort();
  if (report.untranslated.size() > texts.texts.size()) abort();
  CheckReport(LanguageReportText("f", report));
  CheckReport(LanguageReportJson("f", report));

  std::vector<Resource> resources;
  for (bool image : {false, true}) {
    if (image ? !ReadImageResources(bytes, resources) : !ReadResourceFile(bytes, resources)) continue;
    ReadStringTable(resources);
    for (const Resource& resource : resources) {
      DialogTexts dialog;
      ReadDialogTexts(resource.data, dialog);
    }
    CollectProgramTexts(resources, &resources);
  }
  return 0;
}
