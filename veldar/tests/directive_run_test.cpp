// Copy and restore directives and the settings file, with VELDAR.exe unattended under
// Wine. These change machine-wide state of their prefix (the server's App Paths key,
// C:\ backups, the settings file in the system folder), so they run one at a time.
#include <gtest/gtest.h>

#include "test_registry.h"
#include "veldar_run.h"

namespace veldar_test {
namespace {

const char kAppPathsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\sqlservr.exe";

class DirectiveRun : public VeldarRun {
 protected:
  void SetUp() override {
    VeldarRun::SetUp();
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kAppPathsKey);
  }
  void TearDown() override { RegDeleteKeyA(HKEY_LOCAL_MACHINE, kAppPathsKey); }

  void SetServerPath(const std::string& path) {
    RawSetText(HKEY_LOCAL_MACHINE, kAppPathsKey, "Path", path);
    ASSERT_EQ(path, ReadText(HKEY_LOCAL_MACHINE, kAppPathsKey, "Path"));
  }
};

TEST_F(DirectiveRun, CopyDirectivesCopyIntoTheServersProgramFolder) {
  ASSERT_TRUE(CreateDirectoryA((folder_ + "server").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((folder_ + "server\\BINN").c_str(), nullptr));
  SetServerPath(folder_ + "server");  // "\BINN" is appended
  ASSERT_TRUE(WriteFileBytes(folder_ + "a.dll", "first"));
  ASSERT_TRUE(WriteFileBytes(folder_ + "b.dll", "second"));
  ASSERT_TRUE(WriteFileBytes(folder_ + "server\\BINN\\b.dll", "old"));
  ASSERT_TRUE(SetFileAttributesA((folder_ + "server\\BINN\\b.dll").c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(0, RunScript("copy", {"^a.dll", "--^Cb.dll", "^missing.dll", "create table t(n integer);",
                                  "--^ca.dll", "GO"}));
  EXPECT_EQ("first", ReadFileBytes(folder_ + "server\\BINN\\a.dll"));
  EXPECT_EQ("second", ReadFileBytes(folder_ + "server\\BINN\\b.dll"));
  EXPECT_EQ("<missing>", ReadFileBytes(folder_ + "server\\BINN\\missing.dll"));
  // The directives leave no trace in the log; "--^c" (small letter) is a comment.
  EXPECT_TRUE(
      LinesMatch(Log("copy"), text.Block({"create table t(n integer);", "--^ca.dll"}, text.succeeded)));
}

TEST_F(DirectiveRun, CopyDirectiveWithoutTheServersKeyCopiesNothing) {
  ASSERT_TRUE(WriteFileBytes(folder_ + "a.dll", "first"));
  WriteScript("nokey.sql", {"^a.dll", "create table t(n integer);", "GO"});
  // Copied with an empty "Path" value, the file would go to "\BINN" of the current drive.
  ASSERT_TRUE(CreateDirectoryA("C:\\BINN", nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  Start("-Fnokey.sql -Stestdb", "C:\\");
  EXPECT_EQ(0, Finish());
  EXPECT_EQ("<missing>", ReadFileBytes("C:\\BINN\\a.dll"));
  RemoveDirectoryA("C:\\BINN");
}

TEST_F(DirectiveRun, RestoreSendsItsStatementAtOnceAndRemovesTheBackupCopy) {
  SetServerPath("D:\\Server\\BINN");
  ASSERT_TRUE(WriteFileBytes(folder_ + "shop.bak", "backup"));
  // A read-only leftover of an earlier run is replaced and removed all the same.
  ASSERT_TRUE(WriteFileBytes("C:\\shop.bak", "stale"));
  ASSERT_TRUE(SetFileAttributesA("C:\\shop.bak", FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(1, RunScript("restore", {"create table t(n integer);", "--^RShop,shop.bak",
                                     "create table u(n integer);", "GO"}));
  const std::string statement =
      "RESTORE DATABASE Shop FROM DISK = 'C:\\shop.bak' WITH MOVE 'Shop_dat' TO "
      "'D:\\Server\\Data\\Shop.mdf', "
      "MOVE 'Shop_log' TO 'D:\\Server\\Data\\Shop.ldf'";
  // The test driver runs the batch's statements up to the restore, which it does not
  // know: the batch fails, the next one (after the directive) runs.
  EXPECT_TRUE(
      LinesMatch(Errors("restore"), text.Block({"create table t(n integer);", statement}, "[SQLite]*")));
  EXPECT_EQ((Lines{"t", "u"}), Rows("select name from sqlite_master order by name"));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("C:\\shop.bak"));
}

// Every local user may create files and folders in C:\: what stands at the copy's name or
// on its way is no way to write or delete anything elsewhere.
TEST_F(DirectiveRun, RestoreCopyGoesThroughNoLinkAndLeavesWhatALinkLeadsTo) {
  const std::string target = folder_ + "target";
  ASSERT_TRUE(CreateDirectoryA(target.c_str(), nullptr));
  ASSERT_TRUE(WriteFileBytes(target + "\\shop.bak", "victim"));
  ASSERT_TRUE(WriteFileBytes("C:\\veldar-victim.txt", "victim"));
  const auto linked = [](const char* name) { return ReadFileBytes(name) == "victim"; };
  ASSERT_TRUE(
      RunHostProgram("/bin/ln -sfn \"" + HostPath(target) + "\" \"" + HostPath("C:\\veldar-linked") + "\"",
                     [&] { return linked("C:\\veldar-linked\\shop.bak"); }));
  ASSERT_TRUE(RunHostProgram(
      "/bin/ln -f \"" + HostPath("C:\\veldar-victim.txt") + "\" \"" + HostPath("C:\\veldar-hard.bak") + "\"",
      [&] { return linked("C:\\veldar-hard.bak"); }));
  ASSERT_TRUE(CreateDirectoryA((folder_ + "veldar-linked").c_str(), nullptr));
  ASSERT_TRUE(WriteFileBytes(folder_ + "veldar-linked\\shop.bak", "backup"));
  ASSERT_TRUE(WriteFileBytes(folder_ + "veldar-hard.bak", "backup"));
  const struct {
    std::string file;
    std::string failure;  // empty: copied, and the batch is sent
  } cases[] = {
      {"veldar-linked\\shop.bak", Ansi(u8"C:\\veldar-linked是链接（重解析点），备份文件不会经过链接复制。")},
      {"veldar-hard.bak", ""},
      {"veldar-linked\\..\\shop.bak",
       Ansi(u8"备份文件名C:\\veldar-linked\\..\\shop."
            u8"bak无效：名称的每一部分都不能为空、不能只有点和空格、不能含有冒号。")},
  };
  int number = 0;
  for (const auto& c : cases) {
    const std::string table = "create table t" + std::to_string(++number) + "(n integer);";
    EXPECT_EQ(1, RunScript("linked", {table, "--^RShop," + c.file}));
    const std::string statement = "RESTORE DATABASE Shop FROM DISK = 'C:\\" + c.file + "'*";
    EXPECT_TRUE(LinesMatch(Errors("linked"),
                           c.failure.empty()
                               ? text.Block({table, statement}, "[SQLite]*")
                               : text.Block({table, statement}, text.backupFailed) + Lines{c.failure}))
        << c.file;
  }
  // Only the batch of the copy that was made went to the server.
  EXPECT_EQ((Lines{"t2"}), Rows("select name from sqlite_master order by name"));
  EXPECT_EQ("victim", ReadFileBytes(target + "\\shop.bak"));
  EXPECT_EQ("victim", ReadFileBytes("C:\\veldar-victim.txt"));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("C:\\veldar-hard.bak"));
  RunHostProgram("/bin/rm -f \"" + HostPath("C:\\veldar-linked") + "\"",
                 [] { return GetFileAttributesA("C:\\veldar-linked") == INVALID_FILE_ATTRIBUTES; });
  DeleteFileA("C:\\veldar-victim.txt");
}

TEST_F(DirectiveRun, RestoreWithoutACommaNamesNoDatabaseAndWithoutTheKeyNoFolder) {
  ASSERT_TRUE(WriteFileBytes(folder_ + "shop.bak", "backup"));
  EXPECT_EQ(1, RunScript("nocomma", {"--^Rshop.bak"}));
  const std::string statement =
      "RESTORE DATABASE  FROM DISK = 'C:\\shop.bak' WITH MOVE '_dat' TO '.mdf', MOVE '_log' TO '.ldf'";
  EXPECT_TRUE(LinesMatch(Errors("nocomma"), text.Block({statement}, "[SQLite]*")));
  // Without its backup the batch is not sent.
  ASSERT_TRUE(DeleteFileA((folder_ + "shop.bak").c_str()));
  EXPECT_EQ(1, RunScript("nocomma", {"--^Rshop.bak"}));
  EXPECT_TRUE(
      LinesMatch(Errors("nocomma"), text.Block({statement}, text.backupFailed) +
                                        Lines{folder_ + "shop.bak", SystemText(ERROR_FILE_NOT_FOUND)}));
}

TEST_F(DirectiveRun, ModuleSwitchRemovesOnlyItsKeyFromTheRunList) {
  const std::string settings = SettingsFile();
  ASSERT_TRUE(WriteFileBytes(settings,
                             "[SOFTWARE,Quillsys,Quorn_Ax,1.0,Run]\r\nSales=C:\\s.exe\r\nStock=C:\\t.exe\r\n"
                             "[Other]\r\nSales=kept\r\n"));
  // The key goes even when a batch failed.
  EXPECT_EQ(1, RunScript("module", {"select nothing from nowhere;", "GO"}, "-Stestdb -MSales"));
  EXPECT_EQ("[SOFTWARE,Quillsys,Quorn_Ax,1.0,Run]\r\nStock=C:\\t.exe\r\n[Other]\r\nSales=kept\r\n",
            ReadFileBytes(settings));
  DeleteFileA(settings.c_str());
}

}  // namespace
}  // namespace veldar_test
