// Where an execute directive's program is looked for, against the files of each case. PATH
// entries that hang on the current folder or drive are skipped, a folder part is taken as
// given; the program's folder ends in a character whose second byte is "\".
#include "Core/ProgramSearch.h"

#include <gtest/gtest.h>

namespace {

const ProgramFolders kFolders = {"D:\\kit\x95\x5c", "C:\\WIN\\system32", "C:\\WIN\\System", "C:\\WIN\\",
                                 ".;tools;C:bin;\\top;;E:\\path one\\;\\\\srv\\share;F:/last"};

const struct {
  const char *commandLine, *files, *found;
} kCases[] = {
    {"osql -E", "D:\\kit\x95\x5c\\osql.exe|C:\\WIN\\system32\\osql.exe", "D:\\kit\x95\x5c\\osql.exe"},
    {"regsvr32 /s x.dll", "C:\\WIN\\system32\\regsvr32.exe|C:\\WIN\\regsvr32.exe",
     "C:\\WIN\\system32\\regsvr32.exe"},
    {"old.com", "C:\\WIN\\System\\old.com|C:\\WIN\\old.com", "C:\\WIN\\System\\old.com"},
    {"\"notepad\" x", "C:\\WIN\\notepad.exe|E:\\path one\\notepad.exe", "C:\\WIN\\notepad.exe"},
    {"tool", ".\\tool.exe|tools\\tool.exe|C:bin\\tool.exe|\\top\\tool.exe|E:\\path one\\tool.exe",
     "E:\\path one\\tool.exe"},
    {"share.exe", "\\\\srv\\share\\share.exe|F:/last\\share.exe", "\\\\srv\\share\\share.exe"},
    {"last\tx", "F:/last\\last.exe", "F:/last\\last.exe"},
    {"planted C:\\planted.txt", "planted.exe|C:\\planted.exe", ""},
    {"tool.bat", "E:\\path one\\tool.exe", ""},
    {"\"C:\\Program Files\\x\\setup\" /q", "", "C:\\Program Files\\x\\setup.exe"},
    {"sub\\tool.exe a", "D:\\kit\x95\x5c\\sub\\tool.exe", "sub\\tool.exe"},
    {"\x95\x5c", "D:\\kit\x95\x5c\\\x95\x5c.exe", "D:\\kit\x95\x5c\\\x95\x5c.exe"},
};

TEST(ProgramSearch, BareNamesComeFromTheProgramsAndSystemFoldersAndAbsolutePathEntriesOnly) {
  for (const auto& c : kCases) {
    const auto isFile = [&](const std::string& name) {
      EXPECT_TRUE(IsAbsolutePath(name)) << c.commandLine << ": " << name;
      return ("|" + std::string(c.files) + "|").find("|" + name + "|") != std::string::npos;
    };
    EXPECT_EQ(c.found, FindProgram(c.commandLine, kFolders, isFile, IsGbkLeadByte)) << c.commandLine;
  }
}

}  // namespace
