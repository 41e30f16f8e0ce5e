// VELDAR.exe under Wine where the connection cannot even reach a driver: a driver
// registry without "SQL Server" (this test program's own), and a driver manager that
// does not load. The box and both files of the run say why; the password shows nowhere.
#include <gtest/gtest.h>

#include "test_registry.h"
#include "veldar_run.h"

namespace veldar_test {
namespace {

// Wine loads no odbc32.dll into VELDAR.exe while this key is there.
const char kNoDriverManager[] = "Software\\Wine\\AppDefaults\\VELDAR.exe\\DllOverrides";

TEST_F(VeldarRun, ConnectionWithoutDriverOrDriverManagerIsRecordedWithTheReasonAndEndsWithCodeTwo) {
  const struct {
    bool driverManager;
    std::string reason;  // the box's second line, the record's (its start)
    std::string recorded;
  } cases[] = {
      // The password is a word of the driver manager's message.
      {true, "[unixODBC][Driver Manager]Can't open *** 'SQL Server' : file not found",
       Ansi(u8"SQLSTATE 01000，本机错误 0：[unixODBC][Driver Manager]Can't open *** 'SQL Server'*")},
      {false, Ansi(u8"无法加载ODBC驱动程序管理器odbc32.dll：") + SystemText(ERROR_MOD_NOT_FOUND),
       Ansi(u8"无法加载ODBC驱动程序管理器odbc32.dll：*")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reason);
    if (!c.driverManager) RawSetText(HKEY_CURRENT_USER, kNoDriverManager, "odbc32", "");
    WriteScript("nodriver.sql", {"create table t(n integer);", "GO"});
    WriteEarlierRecord("nodriver");
    Start("-Fnodriver.sql -Stestdb -Plib");
    const BoxTexts box = AnswerBox(IDOK);
    EXPECT_EQ(2, Finish());
    RawDeleteTree(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\VELDAR.exe");
    EXPECT_EQ(text.connectFailed + "\r\n" + c.reason, box.text);
    EXPECT_TRUE(LinesMatch(Log("nodriver"), {text.connectFailed, c.recorded}));
    EXPECT_EQ(Log("nodriver"), Errors("nodriver"));
  }
}

}  // namespace
}  // namespace veldar_test
