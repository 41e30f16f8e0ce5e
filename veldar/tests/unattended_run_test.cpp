// VELDAR.exe started unattended under Wine against the "SQL Server" driver: batches,
// execute directives, the log and error files and the exit codes.
#include <gtest/gtest.h>

#include <algorithm>

#include "veldar_run.h"

namespace veldar_test {
namespace {

TEST_F(VeldarRun, GoEndsABatchInAnyCaseWithBlanksButNotWithMoreOnTheLine) {
  EXPECT_EQ(
      0, RunScript("batches", {"create table t(n integer, s text);",
                               "insert into t values(1, 'x",  // "GO;" and "GO 2" go into the text
                               "GO;", "GO 2", "y');", "  gO\t", "insert into t values(2, null);", "\tGo ",
                               "insert into t values(3, null);", "go", "insert into t values(99, 'tail');"}));
  EXPECT_EQ((Lines{"1|x\r\nGO;\r\nGO 2\r\ny", "2|NULL", "3|NULL"}), Rows("select n, s from t order by n"));
  EXPECT_TRUE(LinesMatch(
      Log("batches"),
      text.Block({"create table t(n integer, s text);", "insert into t values(1, 'x", "GO;", "GO 2"},
                 text.succeeded) +
          Lines{""} + text.Block({"insert into t values(2, null);"}, text.succeeded) + Lines{""} +
          text.Block({"insert into t values(3, null);"}, text.succeeded)));
  EXPECT_EQ(text.noErrors + "\r\n", Errors("batches"));
}

TEST_F(VeldarRun, TwoGoLinesInARowSendAnEmptyBatch) {
  // The test driver refuses an empty statement text: the run logs it and goes on.
  EXPECT_EQ(1,
            RunScript("twogo", {"create table t(n integer);", "GO", "GO", "insert into t values(1);", "GO"}));
  EXPECT_EQ((Lines{"1"}), Rows("select n from t"));
  EXPECT_TRUE(LinesMatch(Errors("twogo"), Lines{""} + text.Block({}, "[SQLite]*")));
}

TEST_F(VeldarRun, FailedBatchIsRecordedAndTheRunGoesOn) {
  // Sent as far as its zero byte, the third batch would insert 1 and succeed: it is not sent.
  const std::string zero("insert into t values(1);\0drop table t;", 38);
  EXPECT_EQ(1, RunScript("failing", {"create table t(n integer);", "GO", "insert into missing values(1);",
                                     "GO", zero, "GO", "insert into t values(2);", "GO"}));
  EXPECT_EQ((Lines{"2"}), Rows("select n from t"));
  EXPECT_TRUE(LinesMatch(Errors("failing"),
                         {"", text.heading, "insert into missing values(1);", text.separator, text.result,
                          "[SQLite]no such table: missing*", "", text.heading, "insert into t values(1);",
                          text.separator, text.result, text.zeroByte, "insert into t values(1);"}));
}

// Setup packages start it hidden or not activated, and may pass double-byte values:
// "\x82\x7d" is one character of code page 936 whose second byte is "}".
TEST_F(VeldarRun, HiddenOrInactiveStartsRunWholeAndDoubleByteValuesGoOutUnquoted) {
  const struct {
    int show;
    const char* arguments;
    const char* batch;
    int exitCode;
  } cases[] = {
      {SW_HIDE, "-Stestdb", "create table hidden(n integer);", 0},
      {SW_HIDE, "-Stestdb", "insert into missing values(1);", 1},
      {SW_SHOWMINNOACTIVE, "-S s\x82\x7d -P p\x82\x7d", "create table t(n integer);", 0},
      {SW_HIDE, "-Sno/such/folder", "create table never(n integer);", 2},  // its message box shows
  };
  for (const auto& c : cases) {
    WriteScript("shown.sql", {c.batch, "GO"});
    Start(std::string("-Fshown.sql ") + c.arguments, std::string(), c.show);
    if (c.exitCode == 2) AnswerBox(IDOK);
    EXPECT_EQ(c.exitCode, Finish()) << c.batch;
    if (c.exitCode == 2) continue;
    EXPECT_TRUE(
        LinesMatch(Log("shown"), text.Block({c.batch}, c.exitCode == 0 ? text.succeeded : "[SQLite]*")));
  }
  EXPECT_EQ((Lines{"hidden"}), Rows("select name from sqlite_master"));
  // The driver names its database file after the connection string it got. "?": Wine
  // hands the string on to the Unix driver byte for byte and lists 0x82 as U+FFFD.
  WIN32_FIND_DATAA found;
  HANDLE file = FindFirstFileA((folder_ + "DRIVER={SQL Server};SERVER=s?};UID=sa;PWD=p?};").c_str(), &found);
  EXPECT_NE(INVALID_HANDLE_VALUE, file);
  FindClose(file);
}

TEST_F(VeldarRun, ExecuteDirectiveFillsInPlaceholdersButLogsTheLineAsWritten) {
  const std::string directive =
      "--^E  \"%SourceDir%\\child.exe\" record \"%sourcedir%\\args.txt\" %ServerName% %USERNAME% %Password% ";
  EXPECT_EQ(0,
            RunScript("execute", {"create table t(n integer);", directive, "GO"}, "-Stestdb -P \"se cret\""));
  EXPECT_EQ("testdb|sa|se|cret", ReadFileBytes(folder_ + "args.txt"));
  // The SQL line gathered before the directive is sent with the next batch.
  EXPECT_EQ((Lines{}), Rows("select n from t", "se cret"));
  const std::string log = Log("execute");
  EXPECT_TRUE(LinesMatch(log, text.Block({"create table t(n integer);", directive}, text.succeeded) +
                                  Lines{""} + text.Block({}, text.succeeded)));
  EXPECT_EQ(std::string::npos, log.find("cret"));
}

TEST_F(VeldarRun, ProgramEndingWithCode259IsNotTakenForARunningOne) {
  EXPECT_EQ(0, RunScript("code259", {"--^E child.exe exit 259", "create table t(n integer);", "GO"}));
  EXPECT_EQ((Lines{}), Rows("select n from t"));
}

TEST_F(VeldarRun, ProgramThatDoesNotExistIsAnError) {
  EXPECT_EQ(1, RunScript("noprogram",
                         {"--^E no_such_program_anywhere.exe /x", "create table t(n integer);", "GO"}));
  EXPECT_EQ((Lines{}), Rows("select n from t"));
  EXPECT_TRUE(LinesMatch(Errors("noprogram"),
                         text.Block({"--^E no_such_program_anywhere.exe /x"}, text.programFailed)));
}

// Started from a folder others can write to, the run never takes a program from there.
TEST_F(VeldarRun, ProgramIsNeverTakenFromTheCurrentFolderButFromTheInstallers) {
  const std::string current = folder_ + "downloads\\", where = folder_ + "where.txt";
  ASSERT_TRUE(CreateDirectoryA(current.c_str(), nullptr));
  WriteScript("planted.sql", {"--^Eplanted where " + where});
  for (const std::string& planted : {current, folder_}) {
    ASSERT_TRUE(CopyFileA((folder_ + "child.exe").c_str(), (planted + "planted.exe").c_str(), FALSE));
    Start("-Fplanted.sql -Stestdb", current);
    EXPECT_EQ(planted == current ? 1 : 0, Finish());
    EXPECT_EQ(planted == current ? "<missing>" : folder_ + "planted.exe", ReadFileBytes(where));
  }
}

TEST_F(VeldarRun, LinesAfterTheLastGoAreNotSent) {
  EXPECT_EQ(0, RunScript("tail", {"create table t(n integer);", "GO", "insert into t values(1);", "GO",
                                  "insert into t values(2);", "", "insert into t values(3);"}));
  EXPECT_EQ((Lines{"1"}), Rows("select n from t"));
  EXPECT_TRUE(LinesMatch(Log("tail"), text.Block({"create table t(n integer);"}, text.succeeded) + Lines{""} +
                                          text.Block({"insert into t values(1);"}, text.succeeded)));
}

TEST_F(VeldarRun, BareScriptNameIsLookedForInTheProgramsFolderAndARelativeOneInTheCurrentFolder) {
  const std::string current = folder_ + "work\\";
  ASSERT_TRUE(CreateDirectoryA(current.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((current + "sub").c_str(), nullptr));
  ASSERT_TRUE(WriteFileBytes(folder_ + "where.sql", "create table program_folder(n integer);\r\nGO\r\n"));
  ASSERT_TRUE(WriteFileBytes(current + "where.sql", "create table current_folder(n integer);\r\nGO\r\n"));
  ASSERT_TRUE(WriteFileBytes(current + "sub\\where.sql", "create table sub_folder(n integer);\r\nGO\r\n"));
  Start("-Fwhere.sql -Stestdb", current);
  EXPECT_EQ(0, Finish());
  Start("-F sub\\where.sql -Stestdb", current);
  EXPECT_EQ(0, Finish());
  EXPECT_EQ((Lines{"program_folder", "sub_folder"}),
            QueryRunDatabase(current, "DRIVER={SQL Server};SERVER=testdb;UID=sa;PWD=;",
                             "select name from sqlite_master order by name"));
}

TEST_F(VeldarRun, SmallLetterSwitchIsIgnoredButStillMakesTheStartUnattended) {
  WriteScript("small.sql", {"create table t(n integer);", "GO"});
  EXPECT_EQ(0, Run("-s testdb -F small.sql"));
  // The server stayed the computer's name, which names the test driver's file.
  EXPECT_EQ((Lines{"t"}),
            QueryRunDatabase(folder_, "DRIVER={SQL Server};SERVER=" + ComputerName() + ";UID=sa;PWD=;",
                             "select name from sqlite_master"));
}

TEST_F(VeldarRun, UsageTextEndsTheProgramWithCodeZero) {
  WriteScript("usage.sql", {"create table t(n integer);", "GO"});
  Start("-Stestdb /? -Fusage.sql");
  const BoxTexts box = AnswerBox(IDOK);
  EXPECT_EQ(text.caption, box.caption);
  EXPECT_EQ(
      "Usage:VELDAR.EXE                  \r\n       [-S     <[server]>]\r\n       [-U     <[login id]>]\r\n"
      "       [-P     <[password]>]\r\n       [-F     <[filename]>]\r\n       [-M     <[modulename]>]",
      box.text);
  EXPECT_EQ(0, Finish());
  EXPECT_EQ((Lines{"<no database file>"}), Rows("select 1"));
}

TEST_F(VeldarRun, FailedConnectionIsRecordedWithTheDriversReasonAndEndsWithCodeTwo) {
  WriteScript("noconnect.sql", {"create table t(n integer);", "GO"});
  WriteEarlierRecord("noconnect");
  // The test driver cannot create its file in a folder that does not exist. Its message
  // holds the password, which the box and the record hide.
  Start("-Fnoconnect.sql -Sno/such/folder -Pconnect");
  const BoxTexts box = AnswerBox(IDOK);
  EXPECT_EQ(Ansi(u8"出错了"), box.caption);
  EXPECT_EQ(text.connectFailed + "\r\n[SQLite]*** failed", box.text);
  EXPECT_EQ(2, Finish());
  const Lines record = {text.connectFailed, Ansi(u8"SQLSTATE HY000，本机错误 14：[SQLite]*** failed")};
  EXPECT_TRUE(LinesMatch(Log("noconnect"), record));
  EXPECT_TRUE(LinesMatch(Errors("noconnect"), record));
}

TEST_F(VeldarRun, UnreadableScriptIsNamedWithItsReasonRecordedAndEndsWithCodeFourUnconnected) {
  WriteScript("locked.sql", {"create table t(n integer);", "GO"});
  HANDLE holder =
      CreateFileA((folder_ + "locked.sql").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, holder);
  Start("-Flocked.sql -Stestdb");
  const std::string message = AnswerBox(IDOK).text;
  EXPECT_EQ(text.readFailed + "\r\n" + folder_ + "locked.sql\r\n" + SystemText(ERROR_SHARING_VIOLATION),
            message);
  EXPECT_EQ(4, Finish());
  CloseHandle(holder);
  EXPECT_TRUE(LinesMatch(Log("locked"), LinesOf(message)));
  EXPECT_TRUE(LinesMatch(Errors("locked"), LinesOf(message)));
  EXPECT_EQ((Lines{"<no database file>"}), Rows("select name from sqlite_master"));
}

// A run killed among short batches, or while a directive's program runs after its last
// batch: the log holds the blocks in order up to its last write, at most about a second
// before the end, and every logged batch is in the database; the error file holds the
// failed block and says that the run has not finished. Nothing of the earlier run's
// files is left.
TEST_F(VeldarRun, KilledRunKeepsItsRecordUpToAboutASecondBeforeItsEnd) {
  for (const int inserts : {20000, 100}) {
    const bool waiting = inserts == 100;
    const std::string name = waiting ? "killedwaiting" : "killed";
    WaitingProgram program(name);
    Lines script = {"create table " + name + "(n integer);", "GO", "insert into missing values(0);", "GO"};
    const Lines failed = Lines{""} + text.Block({script[2]}, "[SQLite]no such table: missing*");
    Lines blocks = text.Block({script[0]}, text.succeeded) + failed;
    for (int i = 1; i <= inserts; ++i) {
      script.insert(script.end(), {"insert into " + name + " values(" + std::to_string(i) + ");", "GO"});
      for (const std::string& line : Lines{""} + text.Block({script[script.size() - 2]}, text.succeeded))
        blocks.push_back(line);
    }
    if (waiting) script.push_back(program.Directive());
    WriteScript(name + ".sql", script);
    WriteEarlierRecord(name);
    Start("-F" + name + ".sql -Stestdb");
    ASSERT_TRUE(waiting ? program.Started() : WaitUntil([&] { return Log(name).size() > 2000; }));
    Sleep(1200);
    ASSERT_TRUE(process_.Running());
    process_.End();
    ASSERT_NE(-1, Finish());

    WIN32_FILE_ATTRIBUTE_DATA file;
    ASSERT_TRUE(GetFileAttributesExA(("C:\\" + name + ".LOG").c_str(), GetFileExInfoStandard, &file));
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const auto ticks = [](FILETIME time) {
      return (ULONGLONG{time.dwHighDateTime} << 32) | time.dwLowDateTime;
    };
    EXPECT_LT(ticks(now) - ticks(file.ftLastWriteTime), 15000000u) << "100 ns since the last write";
    // A write cut short by the end may leave part of a line.
    const std::string log = Log(name).substr(0, Log(name).rfind("\r\n") + 2);
    const size_t lines = LinesOf(log).size();
    ASSERT_LE(lines, blocks.size());
    EXPECT_TRUE(LinesMatch(log, Lines(blocks.begin(), blocks.begin() + lines)));
    if (waiting) {
      EXPECT_EQ(blocks.size(), lines);
    }
    // Every logged insert is in the table, and all of them only where the run was killed
    // while its program ran.
    const std::string logged =
        std::to_string(std::count(blocks.begin(), blocks.begin() + lines, text.succeeded) - 1);
    EXPECT_EQ(
        Lines{logged + (waiting ? "|1" : "|0")},
        Rows("select sum(n <= " + logged + "), count(*) = " + std::to_string(inserts) + " from " + name));
    EXPECT_TRUE(LinesMatch(Errors(name), failed + Lines{text.notFinished}));
  }
}

TEST_F(VeldarRun, UnwritableLogIsNamedTheErrorFileStillWrittenAndCodeFour) {
  WriteScript("blocked.sql", {"create table t(n integer);", "GO"});
  ASSERT_TRUE(CreateDirectoryA("C:\\blocked.LOG", nullptr));
  Start("-Fblocked.sql -Stestdb");
  const std::string message = AnswerBox(IDOK).text;
  EXPECT_EQ(0u, message.find(text.writeFailed + "\r\nC:\\blocked.LOG\r\n")) << message;
  EXPECT_EQ(4, Finish());
  EXPECT_EQ(text.noErrors + "\r\n", Errors("blocked"));
  EXPECT_EQ((Lines{"t"}), Rows("select name from sqlite_master"));
  RemoveDirectoryA("C:\\blocked.LOG");
}

}  // namespace
}  // namespace veldar_test
