// Helpers of the Windows language tests: texts in the code page 936, language files
// and the folders of the test language libraries.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "language/LanguageResources.h"

namespace language_test {

// A UTF-8 text in the ANSI code page (GBK under the test harness).
std::string Gbk(const std::string& utf8);
// The folder of this test program, with a trailing backslash.
std::string ProgramFolder();
// A Windows path for a path of the build machine (Wine maps Z: to /).
std::string WindowsPath(const std::string& unixPath);
// A fresh folder under the temporary folder, with a trailing backslash.
std::string MakeScratchFolder(const std::string& name);
void WriteBytes(const std::string& path, const std::string& bytes);
std::string Key(const std::string& text, const char* section = nullptr,
                TranslationCategory category = TranslationCategory::Message);
// One entry line of a language file.
std::string Entry(const std::string& text, const std::string& translation, const char* section = nullptr,
                  TranslationCategory category = TranslationCategory::Message);
inline const char kMarkerLine[] = "; test language file\r\n***messages**\r\n";

// Starts every test without language library and language file, with a scratch folder
// whose files go at the end.
class LanguageStateTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Loads the test language library "plain" or "rtl" as if it lay beside the program.
  void LoadLibraryBeside(const char* variant);
  // Writes a file (a bare name goes into the scratch folder) that TearDown removes.
  std::string Write(const std::string& name, const std::string& bytes);
  // Writes uninstall.lng with the given entries into the scratch folder and loads it.
  void LoadLanguageFile(const std::string& entries);

  std::string folder_;
  std::vector<std::string> files_;
};

}  // namespace language_test
