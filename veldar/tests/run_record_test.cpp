// The run's log and error files while the run goes and at its end, against the text of
// the two logs (what the files held when they were written only at the end).
#include "Core/RunRecord.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "scratch_folder.h"

namespace {

const std::string kNotFinished = "not finished\r\n";

std::string TextOf(const RunLog& log) {
  std::string text;
  for (const std::string& block : log.Blocks()) text += block;
  return text;
}

class RunRecordTest : public ScratchFolder {
 protected:
  void StartAt(std::uint32_t nowMs) {
    log.Clear();
    errors.Clear();
    record.Start(PathOf("run.LOG"), PathOf("run.ERR"), "not finished", nowMs);
  }
  // Both files, and what they hold once the logs as they are now are written.
  std::string Files() const { return ReadBytes(PathOf("run.LOG")) + "|" + ReadBytes(PathOf("run.ERR")); }
  std::string Written(const std::string& tail = kNotFinished) const {
    return TextOf(log) + "|" + TextOf(errors) + tail;
  }

  RunLog log, errors;
  RunRecord record{log, errors};
};

TEST_F(RunRecordTest, ReplacesEarlierFilesAndWritesWhatGathersOnceASecondOrWhenABlockFills) {
  WriteBytes(PathOf("run.LOG"), "earlier\r\n");
  WriteBytes(PathOf("run.ERR"), "earlier\r\n");
  const std::uint32_t start = 0xFFFFFE00;  // the tick count wraps around during the run
  StartAt(start);
  std::string written = Written();
  log.Add("block 1");
  errors.Add("failed 1");
  record.WriteIfDue(start + 999);
  EXPECT_EQ(written, Files());
  record.WriteIfDue(start + 1000);
  EXPECT_EQ(written = Written(), Files());
  log.Add("block 2");
  record.WriteIfDue(start + 1001);
  EXPECT_EQ(written, Files());
  while (log.Blocks().size() < 2) log.Add(std::string(999, 'x'));
  record.WriteIfDue(start + 1002);
  EXPECT_EQ(Written(), Files());
  errors.Add("failed 2");
  record.Write(start + 1003);  // before a long wait
  EXPECT_EQ(Written(), Files());
}

// At the end nothing is left of the not-finished line, whether the last lines are
// shorter or longer than it; a file that could not be created at the start is written
// whole then (one that cannot be written then either is named: the run tests show it).
TEST_F(RunRecordTest, FinishedFilesHoldTheLogsText) {
  const std::string blocks(RunLog::kBlockSize * 2 + 17, 'c');
  for (const std::string& last : {std::string(), std::string("ok"), std::string(200, 'n'), blocks}) {
    StartAt(0);
    log.Add(std::vector<std::string>{"block", last});
    errors.Add("failed");
    record.Write(1);
    if (!last.empty()) errors.Add(last);
    EXPECT_TRUE(record.Finish().empty());
    EXPECT_EQ(Written(""), Files());
  }
  std::filesystem::remove(PathOf("run.LOG"));
  ASSERT_TRUE(std::filesystem::create_directory(PathOf("run.LOG")));
  StartAt(0);
  errors.Add("failed");
  record.Write(1);
  EXPECT_EQ("failed\r\n" + kNotFinished, ReadBytes(PathOf("run.ERR")));
  std::filesystem::remove(PathOf("run.LOG"));
  EXPECT_TRUE(record.Finish().empty());
  EXPECT_EQ(Written(""), Files());
}

}  // namespace
