// Script, log and error file names, including double-byte names whose second byte
// is a backslash.
#include "Core/FileNames.h"

#include <gtest/gtest.h>

namespace {

// "\x95\x5c" is one character of code page 936 whose second byte is "\".
const std::string kTrailBackslash = "\x95\x5c";

TEST(FileNames, PartsOfAPath) {
  EXPECT_EQ("D:\\setup\\", ExtractFilePath("D:\\setup\\VELDAR.SQE", IsGbkLeadByte));
  EXPECT_EQ("VELDAR.SQE", ExtractFileName("D:\\setup\\VELDAR.SQE", IsGbkLeadByte));
  EXPECT_EQ("C:", ExtractFilePath("C:x.sql", IsGbkLeadByte));
  EXPECT_EQ("sub/", ExtractFilePath("sub/x.sql", IsGbkLeadByte));
  EXPECT_EQ("", ExtractFilePath("x.sql", IsGbkLeadByte));
  EXPECT_EQ(".sql", ExtractFileExt("a.b\\x.y.sql", IsGbkLeadByte));
  EXPECT_EQ("", ExtractFileExt("a.b\\x", IsGbkLeadByte));
}

TEST(FileNames, DoubleByteCharactersAreNotSplit) {
  const std::string name = "D:\\" + kTrailBackslash + "\\" + kTrailBackslash + ".sql";
  EXPECT_EQ("D:\\" + kTrailBackslash + "\\", ExtractFilePath(name, IsGbkLeadByte));
  EXPECT_EQ(kTrailBackslash + ".sql", ExtractFileName(name, IsGbkLeadByte));
  EXPECT_EQ("C:\\" + kTrailBackslash + ".LOG", OutputFileName(name, ".LOG", IsGbkLeadByte));
  // A bare double-byte name ending in 0x5c has no folder part.
  EXPECT_EQ("D:\\setup\\" + kTrailBackslash,
            ResolveScriptFile(kTrailBackslash, "D:\\setup\\", "D:\\setup\\VELDAR.EXE", IsGbkLeadByte));
}

TEST(FileNames, ExtensionIsChangedOrAppended) {
  EXPECT_EQ("D:\\setup\\VELDAR.SQE", ChangeFileExt("D:\\setup\\VELDAR.EXE", ".SQE", IsGbkLeadByte));
  EXPECT_EQ("D:\\set.up\\VELDAR.SQE", ChangeFileExt("D:\\set.up\\VELDAR", ".SQE", IsGbkLeadByte));
  EXPECT_EQ("C:\\VELDAR.LOG", OutputFileName("D:\\setup\\VELDAR.SQE", ".LOG", IsGbkLeadByte));
  EXPECT_EQ("C:\\install.ERR", OutputFileName("install", ".ERR", IsGbkLeadByte));
  EXPECT_EQ("C:\\a.b.LOG", OutputFileName("x\\a.b.sql", ".LOG", IsGbkLeadByte));
}

TEST(FileNames, ScriptChoice) {
  const std::string exePath = "D:\\setup\\";
  const std::string exeName = "D:\\setup\\VELDAR.EXE";
  EXPECT_EQ("D:\\setup\\VELDAR.SQE", ResolveScriptFile("", exePath, exeName, IsGbkLeadByte));
  EXPECT_EQ("D:\\setup\\db.sql", ResolveScriptFile("db.sql", exePath, exeName, IsGbkLeadByte));
  // A relative folder part is left to the current folder.
  EXPECT_EQ("sub\\db.sql", ResolveScriptFile("sub\\db.sql", exePath, exeName, IsGbkLeadByte));
  EXPECT_EQ("E:\\db.sql", ResolveScriptFile("E:\\db.sql", exePath, exeName, IsGbkLeadByte));
}

TEST(FileNames, EncryptedByExtensionInAnyCase) {
  EXPECT_TRUE(IsEncryptedScript("D:\\a.SQE", IsGbkLeadByte));
  EXPECT_TRUE(IsEncryptedScript("a.sqe", IsGbkLeadByte));
  EXPECT_FALSE(IsEncryptedScript("a.sql", IsGbkLeadByte));
  EXPECT_FALSE(IsEncryptedScript("a.SQE.bak", IsGbkLeadByte));
  EXPECT_FALSE(IsEncryptedScript("x.SQE\\a", IsGbkLeadByte));
}

TEST(FileNames, FoldersOfABackupCopyBelowTheRoot) {
  using Folders = std::vector<std::string>;
  const std::string dbcs = "C:\\" + kTrailBackslash;
  for (const auto& [name, accepted] :
       std::vector<std::pair<std::string, Folders>>{{"C:\\shop.bak", {}},
                                                    {"C:\\a\\.b/x", {"C:\\a", "C:\\a\\.b"}},
                                                    {dbcs + "\\" + kTrailBackslash, {dbcs}}}) {
    Folders folders;
    EXPECT_TRUE(FoldersBelowRoot(name, IsGbkLeadByte, folders) && folders == accepted) << name;
  }
  for (const char* refused :
       {"C:\\a\\..\\x.dll", "C:\\.\\x", "C:\\. .\\x", "C:\\a\\\\x", "C:\\\\srv\\x", "C:\\a\\", "C:\\",
        "C:\\D:x", "C:\\x.bak:stream", "C:x.bak", "\\\\srv\\share\\x"}) {
    Folders folders = {"left over"};
    EXPECT_FALSE(FoldersBelowRoot(refused, IsGbkLeadByte, folders) || !folders.empty()) << refused;
  }
}

}  // namespace
