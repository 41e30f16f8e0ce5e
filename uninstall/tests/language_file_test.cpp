// Loading the language file from disk and detecting the reading direction.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "language/ExtResource.h"
#include "language/LanguageResources.h"
#include "test_files.h"
#include "tests/language_support.h"

using namespace test_support;
using namespace uninstall_test;

namespace {

class LanguageFileTest : public LanguageStateTest {
 protected:
  std::string Translated(const std::string& text) {
    char buffer[256];
    languageResources.Translate(text.c_str(), buffer, sizeof buffer);
    return buffer;
  }
};

TEST_F(LanguageFileTest, FullPathIsUsedAsItIs) {
  std::string path = Write(folder_ + "any name.lng", kMarkerLine + Entry("hello", "bonjour"));
  languageResources.Load(path.c_str());
  ASSERT_TRUE(languageResources.IsLoaded());
  EXPECT_EQ("bonjour", Translated("hello"));
}

TEST_F(LanguageFileTest, BareNameIsLookedForBesideTheProgram) {
  std::string name = "language-file-test-" + std::to_string(GetCurrentProcessId()) + ".lng";
  Write(ProgramFolder() + name, kMarkerLine + Entry("hello", "beside the program"));
  languageResources.Load(name.c_str());
  ASSERT_TRUE(languageResources.IsLoaded());
  EXPECT_EQ("beside the program", Translated("hello"));
}

TEST_F(LanguageFileTest, MissingFileOrMarkerLeavesTextsUntranslated) {
  languageResources.Load((folder_ + "missing.lng").c_str());
  EXPECT_FALSE(languageResources.IsLoaded());
  std::string tooFar =
      Write(folder_ + "far.lng", std::string(130817, ';') + "***messages**\n" + Entry("hello", "x"));
  languageResources.Load(tooFar.c_str());
  EXPECT_FALSE(languageResources.IsLoaded());
  EXPECT_EQ("hello", Translated("hello"));
  std::string justInReach =
      Write(folder_ + "near.lng", std::string(130816, ';') + "***messages**\n" + Entry("hello", "x"));
  languageResources.Load(justInReach.c_str());
  EXPECT_TRUE(languageResources.IsLoaded());
  EXPECT_EQ("x", Translated("hello"));
}

TEST_F(LanguageFileTest, FileOpenedForWritingByAnotherProcessIsRead) {
  std::string path = Write(folder_ + "shared.lng", kMarkerLine + Entry("hello", "shared"));
  HANDLE writer = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, writer);
  languageResources.Load(path.c_str());
  CloseHandle(writer);
  EXPECT_EQ("shared", Translated("hello"));
}

TEST_F(LanguageFileTest, ReadingDirection) {
  languageResources.Load((folder_ + "missing.lng").c_str());
  EXPECT_FALSE(languageResources.rightToLeft);

  std::string rtl = Write(folder_ + "rtl.lng", kMarkerLine + DialogEntry("LTR", "RTL", "LTR"));
  languageResources.Load(rtl.c_str());
  EXPECT_TRUE(languageResources.rightToLeft);

  // A dialog resource "RTL" in the library, also without a language file.
  LoadLibraryBeside("rtl");
  ASSERT_TRUE(extResource.loaded);
  languageResources.Load((folder_ + "missing.lng").c_str());
  EXPECT_TRUE(languageResources.rightToLeft);

  LoadLibraryBeside("plain");
  ASSERT_TRUE(extResource.loaded);
  languageResources.Load((folder_ + "missing.lng").c_str());
  EXPECT_FALSE(languageResources.rightToLeft);
}

}  // namespace
