// The line loop against a host that records what a run asks of the outside world.
#include "Core/ScriptRunner.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "Des/ScriptFile.h"
#include "des_reference.h"

namespace {

using Lines = std::vector<std::string>;

class FakeHost : public RunnerHost {
 public:
  void AddOutputLine(const std::string& line) override { output.push_back(line); }
  void ClearOutput() override { output.clear(); }
  const Lines& OutputLines() const override { return output; }
  void SetProgress(size_t position, size_t count) override {
    progress.push_back(position);
    progressCount = count;
  }
  int ExecuteBatch(const std::string& batch) override {
    batches.push_back(batch);
    const size_t index = batches.size() - 1;
    auto message = messages.find(index);
    if (message != messages.end()) output.push_back(message->second);
    if (cancelAtBatch == static_cast<int>(index)) cancel = true;
    return failingBatches.count(index) ? -1 : 0;
  }
  bool CancelRequested() const override { return cancel; }
  bool ReadServerPath(std::string& value) override {
    ++registryReads;
    if (serverPaths.empty()) return false;
    value = serverPaths.front();
    if (serverPaths.size() > 1) serverPaths.erase(serverPaths.begin());
    return !value.empty();
  }
  bool FileExists(const std::string& name) override { return existing.count(name) > 0; }
  bool CopyInstallFile(const std::string& source, const std::string& destination,
                       bool failIfExists) override {
    EXPECT_FALSE(failIfExists);
    copies.push_back(source + " -> " + destination);
    return true;
  }
  bool CopyBackup(const std::string& source, const std::string& destination, Lines& failure) override {
    copies.push_back(source + " -> " + destination);
    failure = {"[not copied]", destination};
    return destination.find("refused") == std::string::npos;
  }
  void RemoveBackup(const std::string& name) override { removed.push_back(name); }
  bool RunProgramAndWait(const std::string& commandLine, const std::string& parameters) override {
    EXPECT_EQ("", parameters);
    programs.push_back(commandLine);
    programBatchCount.push_back(batches.size());
    if (cancelDuringProgram) cancel = true;
    return commandLine.find("missing") == std::string::npos;
  }

  Lines output;
  std::vector<size_t> progress;
  size_t progressCount = 0;
  Lines batches;
  std::map<size_t, std::string> messages;
  std::set<size_t> failingBatches;
  int cancelAtBatch = -1;
  bool cancelDuringProgram = false;
  bool cancel = false;
  Lines serverPaths;  // successive "Path" values; an empty entry: key does not open
  int registryReads = 0;
  std::set<std::string> existing;
  Lines copies;
  Lines removed;
  Lines programs;
  std::vector<size_t> programBatchCount;
};

TEST(RunLog, HoldsTheFilesTextInBlocksAndGivesTheLinesBack) {
  Lines lines = {"", "a", std::string(150000, 'x'), "\xb1\x5c"};
  for (int i = 0; i < 5000; ++i) lines.push_back("line " + std::to_string(i));
  RunLog log;
  EXPECT_TRUE(log.Empty());
  log.Add(lines);
  std::string text, expected;
  for (const std::string& block : log.Blocks()) text += block;
  for (const std::string& line : lines) expected += line + "\r\n";
  EXPECT_EQ(expected, text);
  EXPECT_EQ(expected.size(), log.Size());
  EXPECT_LT(3u, log.Blocks().size());
  EXPECT_EQ(lines.size(), log.LineCount());
  EXPECT_EQ(lines, log.Lines());
  log.Clear();
  EXPECT_TRUE(log.Empty());
  EXPECT_EQ(Lines{}, log.Lines());
}

const RunnerTexts kTexts{"[script]", "... ...", "[result]", "[ok]", "[program failed]", "[zero byte]"};

class ScriptRunnerTest : public ::testing::Test {
 protected:
  ScriptRunnerTest() {
    settings.exePath = "D:\\setup\\";
    settings.placeholders = {"D:\\setup", "db1", "sa", "secret"};
    des1.SetKey(kScriptKey);
  }
  RunOutcome Run(const Lines& lines) {
    RunLog runLog, runErrors;
    ScriptRunner runner(host, kTexts, settings, runLog, runErrors);
    const RunOutcome outcome = runner.Run(lines);
    log = runLog.Lines();
    errors = runErrors.Lines();
    return outcome;
  }

  FakeHost host;
  TEncryption des1;
  ScriptSettings settings;
  Lines log;
  Lines errors;
};

TEST_F(ScriptRunnerTest, BatchesEndAtGoLinesOnly) {
  const RunOutcome outcome = Run({"create table a(x int)", " go ", "insert into a values(1)", "GO;",
                                  "insert into a values(2)", "GO 2", "\tGo\t", "GO", "select 1", "-- tail"});
  EXPECT_EQ((Lines{"create table a(x int)\r\n",
                   "insert into a values(1)\r\nGO;\r\ninsert into a values(2)\r\nGO 2\r\n", ""}),
            host.batches);
  EXPECT_FALSE(outcome.failed);
  EXPECT_FALSE(outcome.cancelled);
  EXPECT_TRUE(errors.empty());
}

TEST_F(ScriptRunnerTest, EmptyLinesStayInTheBatch) {
  Run({"", "a", "", "b", "GO", "", "GO"});
  EXPECT_EQ((Lines{"\r\na\r\n\r\nb\r\n", "\r\n"}), host.batches);
}

TEST_F(ScriptRunnerTest, LogHoldsEveryBlockWithItsPreview) {
  host.messages[1] = "server says hello";
  Run({"l1", "", "l2", "l3", "l4", "l5", "GO", "m1", "m2", "m3", "m4", "GO"});
  EXPECT_EQ((Lines{"[script]", "l1", "l2", "l3", "l4", "... ...", "[result]", "[ok]",  //
                   "", "[script]", "m1", "m2", "m3", "... ...", "[result]", "server says hello", "[ok]"}),
            log);
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ((Lines{"", "[script]"}), host.output);
}

TEST_F(ScriptRunnerTest, FailedBatchGoesToTheErrorLogAndTheRunGoesOn) {
  host.failingBatches = {0};
  host.messages[0] = "no such table: t";
  const RunOutcome outcome = Run({"update t set a=1", "GO", "select 2", "GO"});
  EXPECT_TRUE(outcome.failed);
  EXPECT_EQ(2u, host.batches.size());
  EXPECT_EQ((Lines{"[script]", "update t set a=1", "... ...", "[result]", "no such table: t"}), errors);
  Lines expectedLog = errors;
  for (const char* line : {"", "[script]", "select 2", "... ...", "[result]", "[ok]"})
    expectedLog.push_back(line);
  EXPECT_EQ(expectedLog, log);
}

TEST_F(ScriptRunnerTest, ProgressCountsLineIndexes) {
  Run({"a", "GO", "b"});
  EXPECT_EQ((std::vector<size_t>{0, 1, 2}), host.progress);
  EXPECT_EQ(3u, host.progressCount);
}

TEST_F(ScriptRunnerTest, ExecuteDirectiveRunsTheFilledInCommandAndLogsTheLineAsWritten) {
  const RunOutcome outcome = Run(
      {"insert into a values(1)", "--^E  %SourceDir%\\tool.exe %ServerName% %UserName% %Password% ", "GO"});
  EXPECT_FALSE(outcome.failed);
  EXPECT_EQ((Lines{"D:\\setup\\tool.exe db1 sa secret"}), host.programs);
  // The gathered SQL line stays in the batch and is sent with the next one.
  EXPECT_EQ((std::vector<size_t>{0}), host.programBatchCount);
  EXPECT_EQ((Lines{"insert into a values(1)\r\n"}), host.batches);
  EXPECT_EQ((Lines{"[script]", "insert into a values(1)",
                   "--^E  %SourceDir%\\tool.exe %ServerName% %UserName% %Password% ", "... ...", "[result]",
                   "[ok]", "", "[script]", "... ...", "[result]", "[ok]"}),
            log);
  for (const std::string& line : log) EXPECT_EQ(std::string::npos, line.find("secret")) << line;
}

TEST_F(ScriptRunnerTest, ProgramThatDoesNotStartIsAnError) {
  const RunOutcome outcome = Run({"--^Emissing.exe", "GO"});
  EXPECT_TRUE(outcome.failed);
  EXPECT_EQ((Lines{"[script]", "--^Emissing.exe", "... ...", "[result]", "[program failed]"}), errors);
  EXPECT_EQ(1u, host.batches.size());
}

TEST_F(ScriptRunnerTest, CopyDirectiveCopiesIntoTheServerProgramFolder) {
  host.existing = {"D:\\setup\\a.dll", "D:\\setup\\b.dll"};
  host.serverPaths = {"E:\\Server", "E:\\Server\\BINN"};
  Run({"^a.dll", "--^Cb.dll", "^gone.dll", "--^cb.dll", "GO"});
  EXPECT_EQ(
      (Lines{"D:\\setup\\a.dll -> E:\\Server\\BINN\\a.dll", "D:\\setup\\b.dll -> E:\\Server\\BINN\\b.dll"}),
      host.copies);
  EXPECT_EQ(2, host.registryReads);  // a missing file is skipped before the registry is read
  EXPECT_EQ((Lines{"--^cb.dll\r\n"}), host.batches);
  EXPECT_EQ((Lines{"[script]", "--^cb.dll", "... ...", "[result]", "[ok]"}), log);
}

TEST_F(ScriptRunnerTest, CopyDirectiveWithoutTheRegistryKeyCopiesNothing) {
  host.existing = {"D:\\setup\\a.dll"};
  Run({"^a.dll"});
  EXPECT_EQ(1, host.registryReads);
  EXPECT_TRUE(host.copies.empty());
  EXPECT_TRUE(log.empty());
}

TEST_F(ScriptRunnerTest, RestoreDirectiveSendsItsStatementWithTheGatheredBatchAtOnce) {
  host.serverPaths = {"E:\\Server\\BINN"};
  Run({"use master", "--^RShop,shop.bak", "select 1", "GO"});
  const std::string statement =
      "RESTORE DATABASE Shop FROM DISK = 'C:\\shop.bak' WITH MOVE 'Shop_dat' TO "
      "'E:\\Server\\Data\\Shop.mdf', "
      "MOVE 'Shop_log' TO 'E:\\Server\\Data\\Shop.ldf'";
  EXPECT_EQ((Lines{"use master\r\n" + statement + "\r\n", "select 1\r\n"}), host.batches);
  EXPECT_EQ((Lines{"D:\\setup\\shop.bak -> C:\\shop.bak"}), host.copies);
  EXPECT_EQ((Lines{"C:\\shop.bak"}), host.removed);
  EXPECT_EQ((Lines{"[script]", "use master", statement, "... ...", "[result]", "[ok]"}),
            Lines(log.begin(), log.begin() + 6));
}

TEST_F(ScriptRunnerTest, RestoreWhoseBackupIsNotCopiedFailsUnsentAndTheRunGoesOn) {
  EXPECT_TRUE(Run({"use master", "--^RShop,refused.bak", "select 1", "GO"}).failed);
  EXPECT_EQ((Lines{"select 1\r\n"}), host.batches);
  EXPECT_TRUE(host.removed.empty());
  const Lines block = {"[script]",       "use master", RestoreStatement({"Shop", "refused.bak"}, ""),
                       "... ...",        "[result]",   "[not copied]",
                       "C:\\refused.bak"};
  EXPECT_EQ(block, errors);
  EXPECT_EQ(block, Lines(log.begin(), log.begin() + 7));
}

TEST_F(ScriptRunnerTest, RestoreWithoutTheKeyUsesTheFolderOfAnEarlierDirective) {
  host.existing = {"D:\\setup\\a.dll"};
  host.serverPaths = {"E:\\Srv\\BINN", ""};
  Run({"^a.dll", "--^Rnodb.bak", "--^RX,x.bak"});
  ASSERT_EQ(2u, host.batches.size());
  // The first restore has no comma: empty name; the copy's program folder is reused.
  EXPECT_EQ(
      "RESTORE DATABASE  FROM DISK = 'C:\\nodb.bak' WITH MOVE '_dat' TO 'E:\\Srv\\BINN.mdf', MOVE '_log' TO "
      "'E:\\Srv\\BINN.ldf'\r\n",
      host.batches[0]);
  EXPECT_NE(std::string::npos, host.batches[1].find("TO 'E:\\Srv\\BINNX.mdf'"));
  EXPECT_EQ((Lines{"C:\\nodb.bak", "C:\\x.bak"}), host.removed);
}

TEST_F(ScriptRunnerTest, CancelDuringABatchStopsAfterIt) {
  host.cancelAtBatch = 1;
  const RunOutcome outcome = Run({"a", "GO", "b", "GO", "c", "GO"});
  EXPECT_TRUE(outcome.cancelled);
  EXPECT_EQ(2u, host.batches.size());
  EXPECT_EQ((Lines{"[script]", "a", "... ...", "[result]", "[ok]", "", "[script]", "b", "... ...", "[result]",
                   "[ok]"}),
            log);
}

TEST_F(ScriptRunnerTest, CancelDuringAProgramTakesEffectAtTheNextBatch) {
  host.cancelDuringProgram = true;
  const RunOutcome outcome = Run({"--^Etool.exe", "--^Etool2.exe", "a", "GO", "b", "GO"});
  EXPECT_TRUE(outcome.cancelled);
  EXPECT_EQ(2u, host.programs.size());
  EXPECT_EQ((Lines{"a\r\n"}), host.batches);

  // Without a batch after the program the run ends normally.
  host = FakeHost();
  host.cancelDuringProgram = true;
  EXPECT_FALSE(Run({"--^Etool.exe", "select 1"}).cancelled);
  EXPECT_TRUE(host.batches.empty());
}

TEST_F(ScriptRunnerTest, PlainAndEncryptedFormGiveTheSameRunApartFromTheMarker) {
  const Lines plain = {"use shop",
                       "--^E %SourceDir%\\tool.exe %Password%",
                       "create procedure p",
                       "--LANTHORN--",
                       "as select 1",
                       "GO",
                       "",
                       "^a.dll",
                       "--^RShop,shop.bak",
                       " --LANTHORN--",
                       "--lanthorn--",
                       "--LANTHORN-- ",
                       "go",
                       "--^Emissing.exe",
                       "tail"};
  host.existing = {"D:\\setup\\a.dll"};
  host.serverPaths = {"E:\\Server"};
  const FakeHost fresh = host;
  Run(plain);
  const FakeHost plainHost = host;
  const Lines plainLog = log, plainErrors = errors;

  settings.encrypted = true;
  settings.cipher = &des1;
  host = fresh;
  const RunOutcome outcome = Run(EncipheredLines(plain));

  // Only the whole, exact marker line changes.
  EXPECT_EQ((Lines{"use shop\r\ncreate procedure p\r\n--LANTHORN--\r\nas select 1\r\n",
                   "\r\nRESTORE DATABASE Shop FROM DISK = 'C:\\shop.bak' WITH MOVE 'Shop_dat' TO "
                   "'E:\\Server\\Data\\Shop.mdf', MOVE 'Shop_log' TO 'E:\\Server\\Data\\Shop.ldf'\r\n",
                   " --LANTHORN--\r\n--lanthorn--\r\n--LANTHORN-- \r\n"}),
            plainHost.batches);
  Lines expected = plainHost.batches;
  for (std::string& batch : expected) batch = ReplaceLines(batch, "--LANTHORN--", "with Encryption");
  EXPECT_EQ(expected, host.batches);
  Lines expectedLog = plainLog;
  ASSERT_EQ("--LANTHORN--", expectedLog[9]);  // the marker in the preview of the first batch
  expectedLog[9] = "with Encryption";
  EXPECT_EQ(expectedLog, log);
  EXPECT_EQ(plainErrors, errors);
  EXPECT_EQ((Lines{"D:\\setup\\tool.exe secret", "missing.exe"}), host.programs);
  EXPECT_EQ(plainHost.programs, host.programs);
  EXPECT_EQ(plainHost.copies, host.copies);
  EXPECT_EQ(plainHost.removed, host.removed);
  EXPECT_TRUE(outcome.failed);
}

TEST_F(ScriptRunnerTest, EveryRunSetsTheCipherToDecipheringAndOnlyEncryptedScriptsUseIt) {
  settings.cipher = &des1;
  // A plain line that happens to be hexadecimal text stays as written.
  const Lines encrypted = EncipheredLines({"select 1", "GO"});
  const std::string& hex = encrypted[0];
  Run({hex, "--LANTHORN--", "GO"});
  EXPECT_EQ(TActionType::Decryption, des1.Action());
  EXPECT_EQ((Lines{hex + "\r\n--LANTHORN--\r\n"}), host.batches);

  // The encryption command leaves the cipher enciphering; the next run turns it back.
  des1.SetAction(TActionType::Encryption);
  settings.encrypted = true;
  host.batches.clear();
  Run(encrypted);
  EXPECT_EQ(TActionType::Decryption, des1.Action());
  EXPECT_EQ((Lines{"select 1\r\n"}), host.batches);
}

TEST_F(ScriptRunnerTest, LinesThatDecipherToNothingAreEmptyLinesAndOnlyTrailingZeroBytesGo) {
  settings.encrypted = true;
  settings.cipher = &des1;
  const Lines encrypted =
      EncipheredLines({"a", std::string("x\0y", 3), std::string(8, '\0'), "GO", "b", "GO"});
  // A single digit is no byte at all; a block of zero bytes loses them all. Neither is
  // a directive test's empty text: both stay empty lines of the batch, unseen in the
  // preview. A zero byte inside a line keeps its batch from being sent: it fails with
  // the text up to the zero byte, and the run goes on.
  const RunOutcome outcome =
      Run({"7", encrypted[0], "", encrypted[1], encrypted[2], encrypted[3], encrypted[4], encrypted[5], ""});
  EXPECT_EQ((Lines{"b\r\n"}), host.batches);
  EXPECT_TRUE(outcome.failed);
  const Lines failed = {"[script]", "a", "x", "... ...", "[result]", "[zero byte]", "", "a", "", "x"};
  EXPECT_EQ(failed, errors);
  EXPECT_EQ(failed, Lines(log.begin(), log.begin() + failed.size()));
  // The last, empty line was not given to the cipher: its last input is the GO line.
  EXPECT_EQ(encrypted[5], des1.HexInput());
}

}  // namespace
