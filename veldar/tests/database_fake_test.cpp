// The connection's algorithms against a scripted driver manager: the order of the
// calls, polling, cancel, the bounded result loop and the handling of messages.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Database/Database.h"
#include "database_fake_odbc.h"
#include "database_test_host.h"
#include "test_caller.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using Lines = std::vector<std::string>;

const std::string kPrefix = "[Microsoft][ODBC SQL Server Driver][SQL Server]";

// Statements run and waits pass by the host's clock, in no real time.
class DatabaseTest : public ::testing::Test {
 protected:
  DatabaseTest() {
    host.ownClock = true;
    odbc.now = [this] { return host.Now(); };
  }
  void Connect(test_support::Caller caller = {}) {
    test_support::CallerTrace trace(caller);
    ASSERT_EQ(SQL_SUCCESS, database.ConnectDatabase("srv", "sa", "secret"));
    odbc.calls.clear();
  }
  void TearDown() override {
    database.CloseDatabase();
    EXPECT_FALSE(odbc.HandlesLeft());
    for (const std::string& call : odbc.calls) EXPECT_THAT(call, ::testing::Not(HasSubstr("not allocated")));
  }

  FakeOdbc odbc;
  TestHost host;
  Database database{odbc.api, host};
};

TEST_F(DatabaseTest, ConnectsInFixedStepsWithoutPromptingAndClosesOnce) {
  EXPECT_EQ(SQL_SUCCESS, database.ConnectDatabase("MYSERVER", "sa", "secret"));
  EXPECT_THAT(odbc.calls, ElementsAre("AllocHandle ENV", "SetEnvAttr 200 3 -6", "AllocHandle DBC",
                                      "DriverConnect in -3 out 1024 completion 0", "SetConnectAttr 4 1 0"));
  EXPECT_EQ("DRIVER={SQL Server};SERVER=MYSERVER;UID=sa;PWD=secret;", odbc.connectionString);
  EXPECT_THAT(host.lines, IsEmpty());

  odbc.calls.clear();
  database.CloseDatabase();
  database.CloseDatabase();
  EXPECT_THAT(odbc.calls, ElementsAre("Disconnect", "FreeHandle DBC", "FreeHandle ENV"));
}

// The reasons of a failed connection come from the connection handle, or from the
// environment handle before there is one; they are kept, not shown, without the password.
TEST(DatabaseConnect, TheFirstFailingConnectionStepEndsItWithItsResultAndItsReasons) {
  struct Case {
    SQLRETURN FakeOdbc::*step;
    SQLRETURN failure;
    std::size_t calls;
    std::vector<std::string> closing;
    Lines reasons;
  } cases[] = {
      {&FakeOdbc::allocEnv, SQL_ERROR, 1, {}, {}},
      {&FakeOdbc::setEnv, SQL_INVALID_HANDLE, 2, {"FreeHandle ENV"}, {"42000 50000 environment"}},
      {&FakeOdbc::allocDbc, SQL_ERROR, 3, {"FreeHandle ENV"}, {"42000 50000 environment"}},
      {&FakeOdbc::connect, SQL_ERROR, 4, {"Disconnect", "FreeHandle DBC", "FreeHandle ENV"},
       {"42000 50000 Login failed for user '***'.", "42000 50000 [unixODBC]PWD=***;"}},
  };
  for (const Case& c : cases) {
    FakeOdbc fake;
    TestHost quiet;
    fake.*c.step = c.failure;
    fake.environmentMessages = {"environment"};
    fake.connectionMessages = {kPrefix + "Login failed for user 'secret'.", "[unixODBC]PWD=secret;"};
    {
      Database db(fake.api, quiet);
      EXPECT_EQ(c.failure, db.ConnectDatabase("srv", "sa", "secret"));
      EXPECT_EQ(c.calls, fake.calls.size());
      Lines reasons;
      for (const DiagnosticRecord& r : db.ConnectionDiagnostics())
        reasons.push_back(r.state + " " + std::to_string(r.nativeError) + " " + r.message);
      EXPECT_EQ(c.reasons, reasons);
      fake.calls.clear();
      db.CloseDatabase();
      EXPECT_EQ(c.closing, fake.calls);
    }
    EXPECT_FALSE(fake.HandlesLeft());
    EXPECT_THAT(quiet.lines, IsEmpty());
  }
}

TEST_F(DatabaseTest, ADriverWithoutAsynchronousExecutionStillRunsBatches) {
  odbc.connect = SQL_SUCCESS_WITH_INFO;
  odbc.asyncEnable = SQL_ERROR;
  EXPECT_EQ(SQL_SUCCESS_WITH_INFO, database.ConnectDatabase("srv", "sa", "secret"));
  odbc.execSteps = {{SQL_SUCCESS_WITH_INFO, {"done"}}};
  EXPECT_EQ(SQL_SUCCESS_WITH_INFO, database.ExecuteBatch("SELECT 1\r\n"));
  EXPECT_THAT(host.lines, ElementsAre("done"));

  odbc.asyncEnable = SQL_SUCCESS_WITH_INFO;  // accepted with a changed value
  EXPECT_EQ(SQL_SUCCESS_WITH_INFO, database.ConnectDatabase("srv", "sa", "secret"));
}

TEST(DatabaseHidePassword, HidesEachStretchThatOccurrencesAtWholeCharactersCover) {
  // Text, password, shown. Code page 936: "\x82\x7d" is one character whose second byte is "}".
  const char* const cases[][3] = {{"PWD=secret;", "", "PWD=secret;"},
                                  {"PWD=secret;", "secret", "PWD=***;"},
                                  {"secretsecret, secret", "secret", "***, ***"},
                                  {"aaab", "aa", "***b"},
                                  {"banana", "a", "b***n***n***"},
                                  {"s\x82\x7d}", "}", "s\x82\x7d***"},
                                  {"\x82\x7d", "\x82", "\x82\x7d"},
                                  {"x\x95\x5c\x95\x5cx", "\x95\x5c", "x***x"}};
  for (const auto& c : cases) EXPECT_EQ(c[2], HidePassword(c[0], c[1], IsGbkLeadByte)) << c[0];
}

TEST(DatabaseConnectionString, QuotesOnlyValuesThatWouldChangeItsMeaning) {
  struct Case {
    const char* value;
    const char* written;
  } cases[] = {
      {"", ""},
      {"srv", "srv"},
      {".\\SQLEXPRESS", ".\\SQLEXPRESS"},
      {"host,1433", "host,1433"},
      {"a=b", "a=b"},
      {"in side", "in side"},
      {"pa;ss", "{pa;ss}"},
      {"p}w", "{p}}w}"},
      {"{x}", "{{x}}}"},
      {"}}", "{}}}}}"},
      {" lead", "{ lead}"},
      {"trail ", "{trail }"},
      {"\ttab", "{\ttab}"},
      // Code page 936: a second byte equal to a brace or a backslash belongs to its character.
      {"s\x82\x7d", "s\x82\x7d"},
      {"\x81\x7bx\x95\x5c", "\x81\x7bx\x95\x5c"},
      {"a;\x82\x7d", "{a;\x82\x7d}"},
      {"}\x82\x7d ", "{}}\x82\x7d }"},
  };
  for (const Case& c : cases) {
    const std::string w = c.written;
    EXPECT_EQ("DRIVER={SQL Server};SERVER=" + w + ";UID=sa;PWD=;",
              Database::ConnectionString(c.value, "sa", "", IsGbkLeadByte));
    EXPECT_EQ("DRIVER={SQL Server};SERVER=s;UID=" + w + ";PWD=" + w + ";",
              Database::ConnectionString("s", c.value, c.value, IsGbkLeadByte));
  }
}

TEST_F(DatabaseTest, ARunningStatementIsAskedAgainWithTheSameArgumentsAndWaitsBetweenPolls) {
  Connect();
  odbc.runningFor = std::chrono::milliseconds(300);
  EXPECT_EQ(SQL_SUCCESS, database.ExecuteBatch("UPDATE t SET a = 1\r\n"));
  EXPECT_THAT(odbc.calls, ElementsAre("AllocHandle STMT", "SetStmtAttr 0 18000 0", "ExecDirect",
                                      "MoreResults", "FreeHandle STMT"));
  ASSERT_GT(odbc.executions.size(), 2u);
  for (const FakeOdbc::Execution& e : odbc.executions) {
    EXPECT_EQ(odbc.executions[0].statement, e.statement);
    EXPECT_EQ("UPDATE t SET a = 1\r\n", e.text);
    EXPECT_EQ(SQL_NTS, e.length);
  }
  // One wait after each poll, one more in the result loop. Once the statement has run
  // a while every wait lasts a few milliseconds, up to the cap: no busy polling.
  ASSERT_EQ(odbc.executions.size() + 1, host.waits.size());
  const auto start = host.waits.front().at;
  unsigned longest = 0, pollsAfter30ms = 0;
  for (std::size_t i = 0; i + 1 < odbc.executions.size(); ++i) {
    longest = std::max(longest, host.waits[i].timeoutMs);
    if (host.waits[i].at - start < std::chrono::milliseconds(30)) continue;
    ++pollsAfter30ms;
    EXPECT_GT(host.waits[i].timeoutMs, 0u) << "poll " << i;
  }
  EXPECT_EQ(50u, longest);
  EXPECT_LT(pollsAfter30ms, 60u);
  EXPECT_EQ(0u, host.waits.back().timeoutMs);  // the finished statement is not waited for
}

TEST_F(DatabaseTest, MessagesOfEveryResultAreShownAndOnlyTheExecutionDecidesSuccess) {
  Connect();
  odbc.execSteps = {{SQL_SUCCESS_WITH_INFO, {kPrefix + "Changed database context to 'shop'."}}};
  odbc.moreSteps = {{SQL_STILL_EXECUTING, {}},
                    {SQL_ERROR, {kPrefix + "Invalid object name 'nope'."}},
                    {SQL_STILL_EXECUTING, {}},
                    {SQL_SUCCESS_WITH_INFO, {"last", "very last"}}};
  EXPECT_EQ(SQL_SUCCESS_WITH_INFO, database.ExecuteBatch("USE shop\r\nSELECT * FROM nope\r\n"));
  EXPECT_THAT(host.lines, ElementsAre("Changed database context to 'shop'.", "Invalid object name 'nope'.",
                                      "last", "very last"));
  EXPECT_EQ(5u, odbc.moreCalls);

  host.lines.clear();
  odbc.execSteps = {{SQL_ERROR, {kPrefix + "Incorrect syntax near 'GO'."}}};
  EXPECT_EQ(SQL_ERROR, database.ExecuteBatch("GO 2\r\n"));
  EXPECT_THAT(host.lines, ElementsAre("Incorrect syntax near 'GO'."));
}

// The messages a failing batch posts and the lines shown of them: the driver's prefix
// goes only from the start of a message; a message is cut to the buffer and to the
// length the driver reports, and split at its line breaks.
struct MessageCase {
  const char* name;
  SQLSMALLINT reportedLength;
  Lines posted, shown;
};

const MessageCase kMessageCases[] = {
    {"PrefixOnlyAtTheStart",
     -1,
     {kPrefix + "Login failed.", "Note: " + kPrefix + "kept", "[Microsoft][ODBC Driver Manager] kept",
      "[Microsoft][ODBC SQL Server Driver]Timeout expired",
      "[microsoft][odbc sql server driver][sql server]kept", kPrefix, kPrefix + kPrefix + "twice"},
     {"Login failed.", "Note: " + kPrefix + "kept", "[Microsoft][ODBC Driver Manager] kept",
      "[Microsoft][ODBC SQL Server Driver]Timeout expired",
      "[microsoft][odbc sql server driver][sql server]kept", "", kPrefix + "twice"}},
    {"CutToTheBuffer", -1, {kPrefix + std::string(1500, 'x')}, {std::string(1023 - kPrefix.size(), 'x')}},
    {"CutToTheReportedLength", 3, {"abcdef"}, {"abc"}},
    {"SplitIntoLines",
     -1,
     {"ERROR: division by zero;\nError while executing the query", "a\r\nb\rc\n", ""},
     {"ERROR: division by zero;", "Error while executing the query", "a", "b", "c", ""}},
};

void PrintTo(const MessageCase& c, std::ostream* os) {
  *os << c.name;
}

class DatabaseMessages : public DatabaseTest, public ::testing::WithParamInterface<MessageCase> {};

TEST_P(DatabaseMessages, ShownAsTheirLines) {
  Connect();
  odbc.reportedLength = GetParam().reportedLength;
  odbc.execSteps = {{SQL_ERROR, GetParam().posted}};
  EXPECT_EQ(SQL_ERROR, database.ExecuteBatch("x"));
  EXPECT_EQ(GetParam().shown, host.lines);
}

INSTANTIATE_TEST_SUITE_P(Texts, DatabaseMessages, ::testing::ValuesIn(kMessageCases),
                         [](const ::testing::TestParamInfo<MessageCase>& info) { return info.param.name; });

TEST_F(DatabaseTest, UnreadableDiagnosticsShowNothingAndUnreadableRecordsAreSkipped) {
  Connect();
  odbc.diagCount = SQL_ERROR;
  odbc.execSteps = {{SQL_ERROR, {"hidden"}}};
  EXPECT_EQ(SQL_ERROR, database.ExecuteBatch("x"));
  EXPECT_THAT(host.lines, IsEmpty());

  odbc.diagCount = SQL_SUCCESS;
  odbc.unreadableRecords = {{1, SQL_NO_DATA}, {3, SQL_ERROR}};
  odbc.execSteps = {{SQL_ERROR, {"gone", "kept", "broken"}}};
  EXPECT_EQ(SQL_ERROR, database.ExecuteBatch("x"));
  EXPECT_THAT(host.lines, ElementsAre("kept"));
}

TEST_F(DatabaseTest, ACancelDuringExecutionCancelsEndsTheCallFreesAndFailsTheBatch) {
  Connect();
  odbc.runningFor = std::chrono::hours(1);
  host.onMessages = [](TestHost& h) { h.cancel = h.waits.size() == 3; };
  EXPECT_EQ(SQL_ERROR, database.ExecuteBatch("WAITFOR DELAY '01:00'\r\n"));
  // The fourth call hears of the cancel; only then is the statement freed.
  EXPECT_EQ(4u, odbc.executions.size());
  EXPECT_THAT(odbc.calls, ElementsAre("AllocHandle STMT", "SetStmtAttr 0 18000 0", "ExecDirect", "Cancel",
                                      "ExecDirect", "FreeHandle STMT"));
}

TEST_F(DatabaseTest, ACancelDuringTheResultLoopCancelsEndsTheCallFreesAndFailsTheBatch) {
  Connect();
  odbc.moreSteps = {{SQL_SUCCESS, {"(1 row affected)"}}};
  odbc.afterMore = {SQL_STILL_EXECUTING, {}};
  FakeOdbc* fake = &odbc;
  host.onMessages = [fake](TestHost& h) { h.cancel = fake->moreCalls == 3; };
  EXPECT_EQ(SQL_ERROR, database.ExecuteBatch("x"));
  EXPECT_EQ(4u, odbc.moreCalls);
  EXPECT_THAT(host.lines, ElementsAre("(1 row affected)"));
  EXPECT_THAT(odbc.calls, ElementsAre("AllocHandle STMT", "SetStmtAttr 0 18000 0", "ExecDirect",
                                      "MoreResults", "Cancel", "MoreResults", "FreeHandle STMT"));
}

TEST_F(DatabaseTest, ADriverThatIgnoresTheCancelIsWaitedForOnlyAWhile) {
  Connect();
  odbc.runningFor = std::chrono::hours(1);
  odbc.ignoresCancel = true;
  host.onMessages = [](TestHost& h) { h.cancel = true; };
  EXPECT_EQ(SQL_ERROR, database.ExecuteBatch("x"));
  EXPECT_EQ("FreeHandle STMT", odbc.calls.back());
  const auto start = host.waits.front().at;
  EXPECT_GE(host.waits.back().at - start, std::chrono::seconds(4));
  EXPECT_LT(host.waits.back().at - start, std::chrono::seconds(6));
  for (const TestHost::Wait& wait : host.waits) {  // waited, not spun
    if (wait.at - start >= std::chrono::milliseconds(30)) {
      ASSERT_GT(wait.timeoutMs, 0u);
    }
  }
}

TEST_F(DatabaseTest, AResultLoopThatNeverEndsIsStoppedWithALineAndTheConnectionGoesOn) {
  Connect();
  odbc.afterMore = {SQL_ERROR, {"again"}};
  EXPECT_EQ(SQL_SUCCESS, database.ExecuteBatch("x"));
  EXPECT_EQ(50000u, odbc.moreCalls);
  ASSERT_EQ(50001u, host.lines.size());
  EXPECT_EQ("again", host.lines[49999]);
  EXPECT_EQ("results limit 50000", host.lines.back());
  EXPECT_EQ("FreeHandle STMT", odbc.calls.back());

  odbc.afterMore = {SQL_NO_DATA, {}};
  EXPECT_EQ(SQL_SUCCESS, database.ExecuteBatch("y"));
}

TEST_F(DatabaseTest, WithoutAStatementNothingIsSentAndTheConnectionSaysWhy) {
  EXPECT_LT(database.ExecuteBatch("x"), 0);  // not connected
  EXPECT_THAT(odbc.calls, IsEmpty());

  Connect();
  odbc.allocStmt = SQL_ERROR;
  odbc.connectionMessages = {"[Microsoft][ODBC SQL Server Driver][DBNETLIB]General network error."};
  EXPECT_EQ(SQL_ERROR, database.ExecuteBatch("x"));
  EXPECT_THAT(odbc.calls, ElementsAre("AllocHandle STMT"));
  EXPECT_THAT(host.lines, ElementsAre("[Microsoft][ODBC SQL Server Driver][DBNETLIB]General network error."));
}

}  // namespace
