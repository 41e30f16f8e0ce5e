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

  void SetServerPath(const std::string& path, test_support::Caller caller = {}) {
    test_support::CallerTrace trace(caller);
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

// Any local user may create files and folders in C:\: a link at the copy's name or on
// its way writes and deletes nothing elsewhere. Only the copy that was made is sent.
TEST_F(DirectiveRun, RestoreCopyGoesThroughNoLinkAndLeavesWhatALinkLeadsTo) {
  const std::string target = folder_ + "target", victim = "C:\\veldar-victim.txt";
  ASSERT_TRUE(CreateDirectoryA(target.c_str(), nullptr) &&
              CreateDirectoryA((folder_ + "linked").c_str(), nullptr));
  for (const std::string& file : {target + "\\x.bak", victim}) ASSERT_TRUE(WriteFileBytes(file, "victim"));
  for (const char* file : {"linked\\x.bak", "hard.bak"})
    ASSERT_TRUE(WriteFileBytes(folder_ + file, "backup"));
  ASSERT_TRUE(RunHostProgram(
      "/bin/sh -c \"ln -sfn " + HostPath(target) + " " + HostPath("C:\\linked") + " && ln -f " +
          HostPath(victim) + " " + HostPath("C:\\hard.bak") + "\"",
      [] { return ReadFileBytes("C:\\linked\\x.bak") + ReadFileBytes("C:\\hard.bak") == "victimvictim"; }));
  const std::string link = Ansi(u8"C:\\linked是链接（重解析点），备份文件不会经过链接复制。");
  for (const char* file : {"linked\\x.bak", "hard.bak"}) {
    const std::string table = "create table \"" + std::string(file) + "\"(n integer);";
    EXPECT_EQ(1, RunScript("linked", {table, "--^RShop," + std::string(file)}));
    const Lines preview = {table, "RESTORE DATABASE Shop FROM DISK = 'C:\\" + std::string(file) + "'*"};
    EXPECT_TRUE(LinesMatch(Errors("linked"), file[0] == 'l'
                                                 ? text.Block(preview, text.backupFailed) + Lines{link}
                                                 : text.Block(preview, "[SQLite]*")));
  }
  EXPECT_EQ((Lines{"hard.bak"}), Rows("select name from sqlite_master"));
  EXPECT_EQ("victimvictim", ReadFileBytes(target + "\\x.bak") + ReadFileBytes(victim));
  EXPECT_EQ("<missing>", ReadFileBytes("C:\\hard.bak"));
  RunHostProgram("/bin/rm -f " + HostPath("C:\\linked"), [] { return !FileExists("C:\\linked\\x.bak"); });
  DeleteFileA(victim.c_str());
}

TEST_F(DirectiveRun, RestoreWithoutACommaNamesNoDatabaseAndWithoutTheKeyNoFolder) {
  ASSERT_TRUE(WriteFileBytes(folder_ + "shop.bak", "backup"));  // without it, nothing would be sent
  EXPECT_EQ(1, RunScript("nocomma", {"--^Rshop.bak"}));
  const std::string statement =
      "RESTORE DATABASE  FROM DISK = 'C:\\shop.bak' WITH MOVE '_dat' TO '.mdf', MOVE '_log' TO '.ldf'";
  EXPECT_TRUE(LinesMatch(Errors("nocomma"), text.Block({statement}, "[SQLite]*")));
  // A backup that is not there is named with the system's reason.
  EXPECT_EQ(1, RunScript("nobackup", {"--^RShop,absent.bak"}));
  EXPECT_TRUE(
      LinesMatch(Errors("nobackup"),
                 text.Block({"RESTORE DATABASE Shop FROM DISK = 'C:\\absent.bak'*"}, text.backupFailed) +
                     Lines{folder_ + "absent.bak", SystemText(ERROR_FILE_NOT_FOUND)}));
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
