// Path and text helpers with the lead bytes of the code page 936: the system's under
// Wine, installed by the test natively.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/TextHelpers.h"
#include "tests/scoped_gbk_table.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

class TextHelpers : public ::testing::Test {
 protected:
  void SetUp() override {
#ifdef _WIN32
    ASSERT_EQ(936u, GetACP());
#endif
  }

 private:
  ScopedGbkTable gbk_;
};

TEST_F(TextHelpers, LeadByteTableMatchesTheDoubleByteCodePage) {
  EXPECT_TRUE(dbcsTable.multiByte);
  EXPECT_FALSE(dbcsTable.leadByte['\\']);
  EXPECT_FALSE(dbcsTable.leadByte['A']);
  EXPECT_TRUE(dbcsTable.leadByte[0x81]);
  EXPECT_TRUE(dbcsTable.leadByte[0xD6]);
}

TEST_F(TextHelpers, NextCharStepsOverWholeCharacters) {
  std::string text = kTrailBackslash + "a";
  EXPECT_EQ(text.c_str() + 2, NextChar(text.c_str()));
  EXPECT_EQ(text.c_str() + 3, NextChar(text.c_str() + 2));
  // A lead byte at the very end never steps past the terminator.
  const char lone[] = "\x81";
  EXPECT_EQ(lone + 1, NextChar(lone));
}

TEST_F(TextHelpers, PointToNameFindsTheFileNamePart) {
  struct Case {
    std::string path, name;
  } cases[] = {
      {"C:\\Program Files\\Zendra\\uninstall.exe", "uninstall.exe"},
      {"C:uninstall.exe", "uninstall.exe"},
      {"uninstall.exe", "uninstall.exe"},
      {"C:\\Zendra\\", ""},
      {"C:/Zendra/kzplng.dll", "kzplng.dll"},
      {"", ""},
      // The trail byte 0x5C inside the folder name is no separator.
      {"C:\\Zendra" + kTrailBackslash + "\\uninstall.exe", "uninstall.exe"},
      {"C:\\Zendra\\" + kTrailBackslash + "abc", kTrailBackslash + "abc"},
      {kTrailBackslash + "name", kTrailBackslash + "name"},
      // A double-byte first character is no drive letter even when a colon follows.
      {"\xd6\xd0:x", "\xd6\xd0:x"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.name, PointToName(c.path.c_str())) << c.path;
}

TEST_F(TextHelpers, AddEndSlashAddsOneBackslashOnlyWhereMissing) {
  struct Case {
    std::string path, expected;
  } cases[] = {
      {"C:\\Zendra", "C:\\Zendra\\"},
      {"C:\\", "C:\\"},
      {"", ""},
      // Ends with a double-byte character whose trail byte is 0x5C: a slash is added.
      {"C:\\Zendra" + kTrailBackslash, "C:\\Zendra" + kTrailBackslash + "\\"},
  };
  for (const Case& c : cases) {
    char buffer[64];
    strcpy(buffer, c.path.c_str());
    AddEndSlash(buffer, sizeof buffer);
    EXPECT_EQ(c.expected, buffer) << c.path;
  }
  char full[4] = "abc";
  AddEndSlash(full, sizeof full);
  EXPECT_STREQ("abc", full) << "no room for the backslash";
}

TEST_F(TextHelpers, FindLastCharSkipsTrailBytes) {
  std::string path = "C:\\Zendra\\" + kTrailBackslash + ".exe";
  EXPECT_EQ(path.c_str() + 9, FindLastChar(path.c_str(), '\\'));
  std::string bare = kTrailBackslash + ".lng";
  EXPECT_EQ(nullptr, FindLastChar(bare.c_str(), '\\'));
}

TEST_F(TextHelpers, PointToLastCharFindsTheStartOfTheLastCharacter) {
  std::string text = "ab" + kTrailBackslash;
  EXPECT_EQ(text.c_str() + 2, PointToLastChar(text.c_str()));
  const char empty[] = "";
  EXPECT_EQ(empty, PointToLastChar(empty));
}

TEST_F(TextHelpers, RemoveTrailingSpacesStripsBlanksTabsAndLineEnds) {
  char line[] = "Zendra.exe \t\r\n";
  EXPECT_STREQ("Zendra.exe", RemoveTrailingSpaces(line));
  char blanks[] = "   ";
  EXPECT_STREQ("", RemoveTrailingSpaces(blanks));
  char inner[] = " a b";
  EXPECT_STREQ(" a b", RemoveTrailingSpaces(inner));
}

TEST_F(TextHelpers, CopyAndFormatCutAtTheCapacityWithoutSplittingACharacter) {
  char buffer[6];
  memset(buffer, 'x', sizeof buffer);
  EXPECT_TRUE(CopyText(buffer, sizeof buffer, "abcde"));
  EXPECT_STREQ("abcde", buffer);
  EXPECT_FALSE(CopyText(buffer, sizeof buffer, "abcdefgh"));
  EXPECT_STREQ("abcde", buffer);
  // "ab" + two double-byte characters: the second one would be cut in half.
  EXPECT_FALSE(CopyText(buffer, sizeof buffer, "ab\xd6\xd0\xce\xc4"));
  EXPECT_STREQ("ab\xd6\xd0", buffer);

  char line[8] = "abc";
  EXPECT_FALSE(AppendText(line, sizeof line, "defghij"));
  EXPECT_STREQ("abcdefg", line);

  char formatted[8];
  EXPECT_TRUE(FormatText(formatted, sizeof formatted, "%s-%d", "ab", 42));
  EXPECT_STREQ("ab-42", formatted);
  EXPECT_FALSE(FormatText(formatted, sizeof formatted, "%s%s", "abcdef", "\xd6\xd0"));
  EXPECT_STREQ("abcdef", formatted);
}

TEST(SubstituteText, PutsTheArgumentInPlaceOfTheFirstPercentS) {
  char buffer[64];
  EXPECT_TRUE(SubstituteText(buffer, sizeof buffer, "delete %s by hand", "C:\\Zendra\\uninstall.exe"));
  EXPECT_STREQ("delete C:\\Zendra\\uninstall.exe by hand", buffer);
  // Anything else a translated format holds stays text: no argument is ever read for it.
  EXPECT_TRUE(SubstituteText(buffer, sizeof buffer, "%d %n %s %s 100%% %", "x"));
  EXPECT_STREQ("%d %n x %s 100% %", buffer);
  EXPECT_TRUE(SubstituteText(buffer, sizeof buffer, "no placeholder", "x"));
  EXPECT_STREQ("no placeholder", buffer);
}

TEST(SubstituteText, CutsAtTheCapacity) {
  ScopedGbkTable gbk;
  char buffer[10];
  memset(buffer, 0x55, sizeof buffer);
  EXPECT_FALSE(SubstituteText(buffer, 8, "ab %s", "cdefghij"));
  EXPECT_STREQ("ab cdef", buffer);
  EXPECT_EQ(0x55, buffer[8]);
  // The path "中文" does not fit whole: no half character is left.
  EXPECT_FALSE(SubstituteText(buffer, 7, "abc%s", "\xd6\xd0\xce\xc4"));
  EXPECT_STREQ("abc\xd6\xd0", buffer);
}

}  // namespace
