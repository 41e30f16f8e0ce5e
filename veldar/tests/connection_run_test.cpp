// VELDAR.exe where the connection reaches no driver: this test program's driver registry
// has no "SQL Server", and a driver manager that Wine does not load. The box and both
// files say why; the password, a word of the driver manager's message, shows nowhere.
#include <gtest/gtest.h>

#include "test_registry.h"
#include "veldar_run.h"

namespace veldar_test {
namespace {

TEST_F(VeldarRun, ConnectionWithoutDriverOrDriverManagerIsRecordedWithTheReasonAndEndsWithCodeTwo) {
  const std::string noDriverManager = "Software\\Wine\\AppDefaults\\VELDAR.exe";
  const std::string notLoaded =
      Ansi(u8"无法加载ODBC驱动程序管理器odbc32.dll：") + SystemText(ERROR_MOD_NOT_FOUND);
  const std::string reasons[][2] = {
      // the box's second line, the record's
      {"[unixODBC][Driver Manager]Can't open *** 'SQL Server' : file not found",
       Ansi(u8"SQLSTATE 01000，本机错误 0：[unixODBC][Driver Manager]Can't open *** 'SQL Server'*")},
      {notLoaded, notLoaded}};
  for (const auto& reason : reasons) {
    if (reason[0] == notLoaded)
      RawSetText(HKEY_CURRENT_USER, noDriverManager + "\\DllOverrides", "odbc32", "");
    WriteScript("nodriver.sql", {"create table t(n integer);", "GO"});
    WriteEarlierRecord("nodriver");
    Start("-Fnodriver.sql -Stestdb -Plib");
    EXPECT_EQ(text.connectFailed + "\r\n" + reason[0], AnswerBox(IDOK).text);
    EXPECT_EQ(2, Finish());
    RawDeleteTree(HKEY_CURRENT_USER, noDriverManager);
    EXPECT_TRUE(LinesMatch(Log("nodriver"), {text.connectFailed, reason[1]}));
    EXPECT_EQ(Log("nodriver"), Errors("nodriver"));
  }
}

}  // namespace
}  // namespace veldar_test
