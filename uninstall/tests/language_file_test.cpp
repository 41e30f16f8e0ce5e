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
  // The marker is looked for up to offset 130816.
  for (size_t offset : {130817, 130816}) {
    SCOPED_TRACE(offset);
    std::string path = Write(folder_ + std::to_string(offset) + ".lng",
                             std::string(offset, ';') + "***messages**\n" + Entry("hello", "x"));
    languageResources.Load(path.c_str());
    EXPECT_EQ(offset == 130816, languageResources.IsLoaded());
    EXPECT_EQ(offset == 130816 ? "x" : "hello", Translated("hello"));
  }
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
  Write(folder_ + "rtl.lng", kMarkerLine + DialogEntry("LTR", "RTL", "LTR"));
  // A dialog resource "RTL" in the library counts also without a language file.
  const struct {
    const char* library;  // loaded beside the program when not null
    const char* file;
    bool rightToLeft;
  } cases[] = {{nullptr, "missing.lng", false},
               {nullptr, "rtl.lng", true},
               {"rtl", "missing.lng", true},
               {"plain", "missing.lng", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.library ? c.library : "no library") + ", " + c.file);
    if (c.library) LoadLibraryBeside(c.library);
    ASSERT_EQ(c.library != nullptr, extResource.loaded);
    languageResources.Load((folder_ + c.file).c_str());
    EXPECT_EQ(c.rightToLeft, languageResources.rightToLeft);
  }
}

}  // namespace
