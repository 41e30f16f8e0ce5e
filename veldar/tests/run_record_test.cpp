// The run's log and error files while the run goes and at its end, compared with the
// text of the two logs (what the files held when they were written only at the end).
#include "Core/RunRecord.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "scratch_folder.h"

namespace {

using Lines = std::vector<std::string>;
const std::string kNotFinished = "not finished";

std::string TextOf(const RunLog& log) {
  std::string text;
  for (const std::string& block : log.Blocks()) text += block;
  return text;
}

class RunRecordTest : public ScratchFolder {
 protected:
  void StartAt(std::uint32_t nowMs) {
    record.Start(PathOf("run.LOG"), PathOf("run.ERR"), kNotFinished, nowMs);
  }
  // The files hold what the logs held when they were last written, and the error file
  // says that the run has not finished.
  void ExpectWritten(const std::string& logText, const std::string& errorText, int line) {
    SCOPED_TRACE(line);
    EXPECT_EQ(logText, ReadBytes(PathOf("run.LOG")));
    EXPECT_EQ(errorText + kNotFinished + "\r\n", ReadBytes(PathOf("run.ERR")));
  }

  RunLog log, errors;
  RunRecord record{log, errors};
};

TEST_F(RunRecordTest, ReplacesAnEarlierRunsFilesAndWritesWhatGathersOnceASecondOrWhenABlockFills) {
  WriteBytes(PathOf("run.LOG"), "earlier log\r\n");
  WriteBytes(PathOf("run.ERR"), "no errors\r\n");
  const std::uint32_t start = 0xFFFFFE00;  // the tick count wraps around during the run
  StartAt(start);
  ExpectWritten("", "", __LINE__);

  log.Add(Lines{"block 1", "ok"});
  log.Add(Lines{"block 2", "failed"});
  errors.Add(Lines{"block 2", "failed"});
  record.WriteIfDue(start + 999);
  ExpectWritten("", "", __LINE__);
  record.WriteIfDue(start + 1000);
  ExpectWritten(TextOf(log), TextOf(errors), __LINE__);

  const std::string second = TextOf(log);
  log.Add("block 3");
  record.WriteIfDue(start + 1001);
  ExpectWritten(second, TextOf(errors), __LINE__);
  while (log.Blocks().size() < 2) log.Add(std::string(999, 'x'));
  record.WriteIfDue(start + 1002);
  ExpectWritten(TextOf(log), TextOf(errors), __LINE__);

  // Before a long wait.
  errors.Add("block 4");
  record.Write(start + 1003);
  ExpectWritten(TextOf(log), TextOf(errors), __LINE__);
}

// The files at the end hold the logs' text, byte for byte, and nothing of the
// not-finished line, whether the last text is shorter or longer than that line.
TEST_F(RunRecordTest, FinishedFilesHoldTheLogsText) {
  const struct {
    Lines failed;     // failed blocks while the run went
    Lines lastLines;  // added to both logs at the end
    Lines errorEnd;   // added to the error log only
  } cases[] = {
      {{}, {}, {"no errors"}},
      {{}, {}, {std::string(200, 'n')}},
      {{"", "block", "failed"}, {}, {}},
      {{"", "block", "failed"}, {"cancelled"}, {}},
      {{}, {std::string(RunLog::kBlockSize * 2 + 17, 'c')}, {}},
  };
  for (const auto& c : cases) {
    log.Clear();
    errors.Clear();
    StartAt(0);
    log.Add(Lines{"block", "ok"});
    log.Add(c.failed);
    errors.Add(c.failed);
    record.Write(1);
    log.Add(c.lastLines);
    errors.Add(c.lastLines);
    errors.Add(c.errorEnd);
    EXPECT_TRUE(record.Finish().empty());
    EXPECT_EQ(TextOf(log), ReadBytes(PathOf("run.LOG")));
    EXPECT_EQ(TextOf(errors), ReadBytes(PathOf("run.ERR")));
  }
}

TEST_F(RunRecordTest, AFileThatCannotBeCreatedAtTheStartIsWrittenWholeAtTheEndOrNamedAsAFailure) {
  for (const bool freedBeforeTheEnd : {false, true}) {
    SCOPED_TRACE(freedBeforeTheEnd);
    ASSERT_TRUE(std::filesystem::create_directory(PathOf("run.LOG")));
    log.Clear();
    errors.Clear();
    StartAt(0);
    log.Add("ran");
    errors.Add("failed");
    record.Write(1);
    EXPECT_EQ("failed\r\n" + kNotFinished + "\r\n", ReadBytes(PathOf("run.ERR")));
    if (freedBeforeTheEnd) std::filesystem::remove(PathOf("run.LOG"));
    const std::vector<FileFailure> failures = record.Finish();
    EXPECT_EQ("failed\r\n", ReadBytes(PathOf("run.ERR")));
    if (freedBeforeTheEnd) {
      EXPECT_TRUE(failures.empty());
      EXPECT_EQ("ran\r\n", ReadBytes(PathOf("run.LOG")));
    } else {
      ASSERT_EQ(1u, failures.size());
      EXPECT_EQ(PathOf("run.LOG"), failures[0].file);
      EXPECT_FALSE(failures[0].reason.empty());
      std::filesystem::remove(PathOf("run.LOG"));
    }
  }
}

}  // namespace
