// Where an execute directive's program is looked for: a table of command lines against
// folders that hold the files of each case.
#include "Core/ProgramSearch.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// One character of code page 936 whose second byte is "\".
const std::string kTrail = "\x95\x5c";

const ProgramFolders kFolders = {"D:\\kit" + kTrail, "C:\\WINDOWS\\system32", "C:\\WINDOWS\\System",
                                 "C:\\WINDOWS\\",
                                 ".;tools;C:bin;\\top;;E:\\path one\\;\\\\srv\\share;F:/last"};

const struct {
  const char* commandLine;
  std::set<std::string> files;
  std::string found;
} kCases[] = {
    // The program's own folder comes first, then the system folders, then PATH.
    {"osql -E",
     {"D:\\kit\x95\x5c\\osql.exe", "C:\\WINDOWS\\system32\\osql.exe"},
     "D:\\kit\x95\x5c\\osql.exe"},
    {"regsvr32 /s x.dll",
     {"C:\\WINDOWS\\system32\\regsvr32.exe", "C:\\WINDOWS\\regsvr32.exe"},
     "C:\\WINDOWS\\system32\\regsvr32.exe"},
    {"old.com", {"C:\\WINDOWS\\System\\old.com", "C:\\WINDOWS\\old.com"}, "C:\\WINDOWS\\System\\old.com"},
    {"\"notepad\" x.txt",
     {"C:\\WINDOWS\\notepad.exe", "E:\\path one\\notepad.exe"},
     "C:\\WINDOWS\\notepad.exe"},
    // Only absolute PATH entries: ".", "tools", "C:bin" and "\top" hang on the current folder or drive.
    {"tool",
     {".\\tool.exe", "tools\\tool.exe", "C:bin\\tool.exe", "\\top\\tool.exe", "E:\\path one\\tool.exe"},
     "E:\\path one\\tool.exe"},
    {"share.exe", {"\\\\srv\\share\\share.exe", "F:/last\\share.exe"}, "\\\\srv\\share\\share.exe"},
    {"last", {"F:/last\\last.exe"}, "F:/last\\last.exe"},
    // Found nowhere, or an extension given that no folder holds.
    {"planted C:\\planted.txt", {"planted.exe", "C:\\planted.exe"}, ""},
    {"tool.bat", {"E:\\path one\\tool.exe"}, ""},
    {"", {}, ""},
    {"\"\" x", {}, ""},
    // A name with a folder part is taken as given, ".exe" appended without an extension.
    {"\"C:\\Program Files\\x\\setup\" /q", {}, "C:\\Program Files\\x\\setup.exe"},
    {"sub\\tool.exe a", {"D:\\kit\x95\x5c\\sub\\tool.exe"}, "sub\\tool.exe"},
    {"C:tool", {}, "C:tool.exe"},
    // A double-byte name whose second byte is "\" is a bare name.
    {"\x95\x5c", {"D:\\kit\x95\x5c\\\x95\x5c.exe"}, "D:\\kit\x95\x5c\\\x95\x5c.exe"},
};

TEST(ProgramSearch, BareNamesComeFromTheProgramsAndSystemFoldersAndAbsolutePathEntriesOnly) {
  for (const auto& c : kCases) {
    std::vector<std::string> asked;
    const auto isFile = [&](const std::string& name) {
      asked.push_back(name);
      return c.files.count(name) > 0;
    };
    EXPECT_EQ(c.found, FindProgram(c.commandLine, kFolders, isFile, IsGbkLeadByte)) << c.commandLine;
    for (const std::string& name : asked) EXPECT_TRUE(IsAbsolutePath(name)) << c.commandLine << ": " << name;
  }
}

TEST(ProgramSearch, ProgramNameOfACommandLine) {
  EXPECT_EQ("a b", CommandProgramName("\"a b\" c"));
  EXPECT_EQ("a b c", CommandProgramName("\"a b c"));
  EXPECT_EQ("a", CommandProgramName("a\tb"));
  EXPECT_EQ("a\"b\"", CommandProgramName("a\"b\" c"));
}

}  // namespace
