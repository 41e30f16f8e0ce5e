// The installation list: its lines, and which entries may be deleted. Natively and under
// Wine, with the lead bytes of the code page 936.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "remove/InstallationList.h"
#include "tests/scoped_gbk_table.h"
#include "test_caller.h"

namespace {

const char kFolder[] = "C:\\Zendra\\";

// A list file holding `bytes`, positioned at its start.
std::unique_ptr<FILE, int (*)(FILE*)> ListFile(const std::string& bytes) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(tmpfile(), fclose);
  if (file) {
    fwrite(bytes.data(), 1, bytes.size(), file.get());
    rewind(file.get());
  }
  return file;
}

// The paths that VisitListEntries hands out for a list, in order.
std::vector<std::string> Visited(const std::string& bytes, size_t pathSize = 1024,
                                 test_support::Caller caller = {}) {
  test_support::CallerTrace trace(caller);
  std::vector<std::string> paths;
  auto collect = [&](const char* path) {
    paths.push_back(path);
    return true;
  };
  auto list = ListFile(bytes);
  // Without a list file the count of -1 fails the check below.
  const int succeeded = list ? VisitListEntries(list.get(), kFolder, collect, pathSize) : -1;
  EXPECT_EQ(static_cast<int>(paths.size()), succeeded);
  return paths;
}

class InstallationList : public ::testing::Test {
 private:
  ScopedGbkTable gbk_;
};

TEST_F(InstallationList, LineEndsTrailingBlanksAndBlankLinesDoNotChangeTheNames) {
  std::string list =
      "Zendra.exe\r\n"
      "docs\n"
      "docs\\readme.txt \t \r\n"
      "\r\n"
      "   \t\n"
      "\n"
      "docs\\sub\\deep.txt\t\n"
      "last entry without line end";
  std::vector<std::string> expected = {"C:\\Zendra\\Zendra.exe", "C:\\Zendra\\docs",
                                       "C:\\Zendra\\docs\\readme.txt", "C:\\Zendra\\docs\\sub\\deep.txt",
                                       "C:\\Zendra\\last entry without line end"};
  EXPECT_EQ(expected, Visited(list));
  EXPECT_TRUE(Visited("").empty());
  EXPECT_TRUE(Visited("\r\n\n \r\n").empty());
}

TEST_F(InstallationList, CountsTheEntriesThatTheVisitorReportsDone) {
  auto list = ListFile("a\r\nb\r\nc\r\n");
  ASSERT_NE(nullptr, list.get());
  int calls = 0;
  int done = VisitListEntries(
      list.get(), kFolder, [&](const char* path) { return ++calls, std::string(path) != "C:\\Zendra\\b"; },
      1024);
  EXPECT_EQ(3, calls);
  EXPECT_EQ(2, done);
}

TEST_F(InstallationList, AnOverlongOrBrokenLineIsSkippedWholeNeverInPieces) {
  // A line of 2047 characters (a CR counts) is whole; one of 2048 is not used at all:
  // its pieces would name other files (here, the tail piece "Zendra.exe").
  std::string longest(2047, 'a');
  std::string tooLong = std::string(2048 - 10, 'b') + "Zendra.exe";
  std::vector<std::string> expected = {kFolder + longest, kFolder + longest.substr(1),
                                       "C:\\Zendra\\next.txt"};
  EXPECT_EQ(expected,
            Visited(longest + "\n" + longest.substr(1) + "\r\n" + tooLong + "\r\nnext.txt\r\n", 4096));
  EXPECT_EQ(std::vector<std::string>{"C:\\Zendra\\next.txt"}, Visited(tooLong + "\nnext.txt", 4096));

  // A NUL byte would cut the line into a shorter name.
  std::string withNul = std::string("Zendra.exe") + '\0' + ".bak\r\n";
  EXPECT_EQ(std::vector<std::string>{"C:\\Zendra\\next.txt"}, Visited(withNul + "next.txt\r\n"));
}

TEST_F(InstallationList, ReadListLineReportsTheLineAndWhetherItIsWhole) {
  auto list = ListFile(std::string("ab\r\n") + std::string(5, 'x') + "\nlast");
  ASSERT_NE(nullptr, list.get());
  char line[5];
  bool intact = false;
  const struct {
    const char* text;
    bool intact;
  } expected[] = {{"ab\r", true}, {"xxxx", false}, {"last", true}};
  for (const auto& e : expected) {
    SCOPED_TRACE(e.text);
    ASSERT_TRUE(ReadListLine(list.get(), line, sizeof line, &intact));
    EXPECT_EQ(e.intact, intact);
    EXPECT_STREQ(e.text, line);
  }
  EXPECT_FALSE(ReadListLine(list.get(), line, sizeof line, &intact));
}

TEST_F(InstallationList, EntriesThatLeaveTheFolderAreRefused) {
  const std::string refused[] = {
      "..",
      "..\\outside.txt",
      "../outside.txt",
      "docs\\..\\..\\outside.txt",
      "docs/../../outside.txt",
      "docs\\..",
      "docs\\..\\Zendra.exe",  // stays inside, but an installer never lists it so
      ".. \\outside.txt",      // the system drops trailing blanks and dots of a name
      "...\\outside.txt",
      ". .\\outside.txt",
      "\\outside.txt",
      "/outside.txt",
      "\\\\server\\share\\outside.txt",
      "\\\\?\\C:\\outside.txt",
      "\\\\.\\C:\\outside.txt",
      "C:\\outside.txt",
      "C:outside.txt",
      "C:",
      "docs\\C:\\outside.txt",
      "Zendra.exe:stream",
      // The trail byte hides no separator here: the ".." after it is a part of its own.
      kTrailBackslash + "\\..\\..\\outside.txt",
  };
  for (const std::string& entry : refused) EXPECT_FALSE(IsEntryInsideFolder(entry.c_str())) << entry;
  EXPECT_TRUE(Visited("..\\outside.txt\r\nC:\\outside.txt\r\n\\\\?\\C:\\x\r\n").empty());
}

TEST_F(InstallationList, EntriesInsideTheFolderAreAccepted) {
  const std::string accepted[] = {
      "Zendra.exe",
      "docs\\readme.txt",
      "docs/sub/deep.txt",
      ".hidden",
      "a..b.txt",
      "..name",
      "docs\\.\\readme.txt",
      "docs\\\\readme.txt",
      " leading blank.txt",
      // A name whose double-byte character ends in the backslash byte, before and after
      // dots: the byte is part of the character, not a separator.
      kTrailBackslash + ".txt",
      "docs\\" + kTrailBackslash + "..",
      kTrailBackslash + "\\" + kTrailBackslash,
  };
  for (const std::string& entry : accepted) EXPECT_TRUE(IsEntryInsideFolder(entry.c_str())) << entry;
}

TEST_F(InstallationList, APathThatDoesNotFitIsSkippedNotCut) {
  // The folder has 10 characters; a buffer of 16 holds a path of 15.
  std::vector<std::string> expected = {"C:\\Zendra\\12345"};
  EXPECT_EQ(expected, Visited("123456\r\n12345\r\n1234567890\r\n", 16));
}

TEST(UninstallFolder, CutsTheProgramsFileNameToItsFolder) {
  ScopedGbkTable gbk;
  struct Case {
    std::string program, folder;  // a program without a folder is left as it is
    bool cut;
  } cases[] = {
      {"C:\\Program Files\\Zendra\\uninstall.exe", "C:\\Program Files\\Zendra", true},
      {"C:\\uninstall.exe", "C:\\", true},
      {"\\\\server\\share\\uninstall.exe", "\\\\server\\share", true},
      {"C:\\Zendra\\" + kTrailBackslash + ".exe", "C:\\Zendra", true},
      {"C:\\" + kTrailBackslash + "\\uninstall.exe", "C:\\" + kTrailBackslash, true},
      {"\\uninstall.exe", "", true},
      {"uninstall.exe", "uninstall.exe", false},
      {"C:uninstall.exe", "C:uninstall.exe", false},
      {kTrailBackslash, kTrailBackslash, false},
  };
  for (const Case& c : cases) {
    char path[64];
    snprintf(path, sizeof path, "%s", c.program.c_str());
    EXPECT_EQ(c.cut, CutToFolder(path)) << c.program;
    EXPECT_EQ(c.folder, path) << c.program;
  }
}

}  // namespace
