// The platform test, the case-blind comparison, the OEM form of texts and the file object, against Windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/CodePageText.h"
#include "base/File.h"
#include "base/WinVersion.h"
#include "test_files.h"

// The import slot through which the program calls GetVersionExA.
#ifdef _WIN64
extern "C" BOOL(WINAPI* __imp_GetVersionExA)(LPOSVERSIONINFOA);
#else
extern "C" BOOL(WINAPI* __imp_GetVersionExA)(LPOSVERSIONINFOA) __asm__("__imp__GetVersionExA@4");
#endif

namespace {

int versionReads = 0;
BOOL WINAPI CountVersionRead(LPOSVERSIONINFOA) {
  ++versionReads;
  return FALSE;
}

// The system's own tables of the code pages: a letter goes to its place in the OEM code page, or the text
// is refused where it has no exact form there.
TEST(WinHelpers, TextsTakeTheirExactOemFormOrNone) {
  const struct {
    unsigned ansi, oem;
    const char* text;
    const char* expected;  // null: refused
  } cases[] = {
      {1251, 866, "C:\\\xCF\xB8\xF2\xF0 %%", "C:\\\x8F\xF1\xE2\xE0 %%"},  // "Пётр"
      {1251, 866, "\xABx\xBB", nullptr},                   // "«x»": a best fit would be "<x>"
      {1251, 866, "\x98", nullptr},                        // no character of 1251
      {1252, 850, "Andr\xE9", "Andr\x82"},                 // "André"
      {1252, 850, "\x80", nullptr},                        // "€"
      {1252, 437, "\xC0", nullptr},                        // "À": a best fit would be "A"
      {936, 936, "\xD1\xB9\xCB\xF5", "\xD1\xB9\xCB\xF5"},  // "压缩", as it is
  };
  for (const auto& c : cases) {
    std::string oem = "<untouched>";
    const bool converted = SystemOemConversion(c.ansi, c.oem).ToOem(c.text, &oem);
    EXPECT_EQ(c.expected != nullptr, converted) << c.ansi << " " << c.text;
    if (c.expected != nullptr) {
      EXPECT_EQ(c.expected, oem) << c.ansi << " " << c.text;
    }
  }
}

TEST(WinHelpers, NtFamilyReportsItsMajorVersionReadOnlyOnce) {
  const int version = GetWinNtVersion();
  EXPECT_GE(version, 4);
  // Later calls answer from the first one without asking the system again.
  const auto system = __imp_GetVersionExA;
  DWORD protection = 0;
  ASSERT_TRUE(VirtualProtect(&__imp_GetVersionExA, sizeof system, PAGE_READWRITE, &protection));
  __imp_GetVersionExA = CountVersionRead;
  EXPECT_EQ(version, GetWinNtVersion());
  __imp_GetVersionExA = system;
  VirtualProtect(&__imp_GetVersionExA, sizeof system, protection, &protection);
  EXPECT_EQ(0, versionReads);
}

TEST(WinHelpers, CompareNoCaseIgnoresLetterCase) {
  EXPECT_EQ(0, CompareNoCase("combobox", "COMBOBOX"));
  EXPECT_EQ(0, CompareNoCase("ComboBox", "COMBOBOX"));
  EXPECT_LT(CompareNoCase("COMBO", "COMBOBOX"), 0);
  EXPECT_GT(CompareNoCase("EDIT", "Button"), 0);
  EXPECT_NE(0, CompareNoCase("COMBOBOX", "ComboLBox"));
  // Double-byte texts compare as themselves.
  EXPECT_EQ(0, CompareNoCase("\xd6\xd0\xce\xc4", "\xd6\xd0\xce\xc4"));
  EXPECT_NE(0, CompareNoCase("\xd6\xd0", "\xce\xc4"));
}

TEST(WinHelpers, CopyWideCutsAtTheCapacity) {
  wchar_t buffer[4];
  wmemset(buffer, L'x', 4);
  CopyWide(buffer, 4, L"ab");
  EXPECT_STREQ(L"ab", buffer);
  CopyWide(buffer, 4, L"abcdef");
  EXPECT_STREQ(L"abc", buffer);
}

class FileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ =
        test_support::TempFolder() + "uninstall-file-test-" + std::to_string(GetCurrentProcessId()) + ".bin";
    std::string data;
    for (int i = 0; i < 300; ++i) data += static_cast<char>('A' + i % 26);
    ASSERT_TRUE(test_support::WriteFileBytes(path_, data));
  }
  void TearDown() override { DeleteFileA(path_.c_str()); }
  std::string path_;
};

TEST_F(FileTest, OpensReadsSeeksAndTellsPositions) {
  File file;
  ASSERT_TRUE(file.Open(path_.c_str(), nullptr, false, true));
  EXPECT_STREQ(path_.c_str(), file.name);
  EXPECT_STREQ(L"", file.wideName);
  char buffer[400];
  EXPECT_EQ(100, file.Read(buffer, 100));
  EXPECT_EQ(100, file.Tell());
  EXPECT_EQ('A', buffer[0]);
  EXPECT_EQ('A' + 99 % 26, buffer[99]);
  file.Seek(290, FILE_BEGIN);
  EXPECT_EQ(290, file.Tell());
  EXPECT_EQ(10, file.Read(buffer, 400));
  EXPECT_EQ('A' + 290 % 26, buffer[0]);
  EXPECT_EQ(0, file.Read(buffer, 16)) << "end of the file";
  file.Seek(-26, FILE_END);
  EXPECT_EQ(274, file.Tell());
  EXPECT_TRUE(file.Close());
  EXPECT_TRUE(file.Close()) << "closing a closed file";
}

TEST_F(FileTest, MissingFileLeavesTheObjectClosed) {
  File file;
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(file.Open((path_ + ".missing").c_str()));
  EXPECT_FALSE(file.IsOpen());
  char buffer[16];
  EXPECT_EQ(-1, file.Read(buffer, sizeof buffer));
}

TEST_F(FileTest, WideNameIsUsedOnTheNtFamily) {
  std::wstring wide(path_.begin(), path_.end());
  File file;
  // The ANSI name is wrong, the wide name right: on the NT family the wide name counts.
  ASSERT_TRUE(file.Open("Z:\\no\\such\\file", wide.c_str()));
  EXPECT_STREQ(wide.c_str(), file.wideName);
  file.Close();
  // An empty wide name makes the ANSI name count.
  EXPECT_TRUE(file.Open(path_.c_str(), L""));
  EXPECT_FALSE(File().Open("Z:\\no\\such\\file", L""));
}

}  // namespace
