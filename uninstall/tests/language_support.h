// Language file keys and entries for tests; on Windows also the fixture of the language
// tests, which starts each test without library and file, with a scratch folder.
#pragma once

#include <string>
#include <vector>

#include "language/LanguageResources.h"

#ifdef _WIN32
#include <gtest/gtest.h>

#include "test_caller.h"
#endif

namespace uninstall_test {

std::string Key(const std::string& text, const char* section = nullptr,
                TranslationCategory category = TranslationCategory::Message);
// One entry line of a language file, ended by CR LF.
std::string Entry(const std::string& text, const std::string& translation, const char* section = nullptr,
                  TranslationCategory category = TranslationCategory::Message);
// An entry of a dialog's texts.
inline std::string DialogEntry(const std::string& text, const std::string& translation, const char* dialog) {
  return Entry(text, translation, dialog, TranslationCategory::Dialog);
}
inline const char kMarkerLine[] = "; test language file\r\n***messages**\r\n";
// Language files that scale SETUPDLG by 120*100, and that turn every dialog right to left.
inline std::string ScalingLanguageFile() {
  return kMarkerLine + DialogEntry("", "120*100", "SETUPDLG");
}
inline std::string RightToLeftLanguageFile() {
  return kMarkerLine + DialogEntry("LTR", "RTL", "LTR");
}

#ifdef _WIN32
class LanguageStateTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Loads the test language library "plain" or "rtl" as if it lay beside the program.
  void LoadLibraryBeside(const char* variant, test_support::Caller caller = {});
  // Writes a file (a bare name goes into the scratch folder) that TearDown removes.
  std::string Write(const std::string& name, const std::string& bytes);
  // Writes uninstall.lng with the given entries into the scratch folder and loads it.
  void LoadLanguageFile(const std::string& entries, test_support::Caller caller = {});

  std::string folder_;
  std::vector<std::string> files_;
};
#endif

}  // namespace uninstall_test
