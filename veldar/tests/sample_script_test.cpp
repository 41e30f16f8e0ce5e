// The sample installation script runs, batch by batch, through the test driver that
// stands in for the server, and builds the catalogue it describes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Core/ScriptLines.h"
#include "Des/ScriptFile.h"
#include "odbc_query.h"
#include "scratch_folder.h"

namespace {

using Rows = std::vector<std::string>;
using SampleScript = ScratchFolder;

TEST_F(SampleScript, RunsBatchByBatchAndBuildsTheCatalogue) {
  std::vector<std::string> lines;
  FileFailure failure;
  ASSERT_TRUE(ReadLines(VELDAR_SAMPLES_DIR "/VELDAR.SQL", lines, failure)) << failure.reason;
  const std::string database = "DRIVER={SQL Server};Database=" + PathOf("sample.db") + ";UID=sa;PWD=;";
  // Batches end where the installer ends them.
  int batches = 0;
  std::string batch;
  for (const std::string& line : lines) {
    if (!IsBatchEnd(line)) {
      batch += line + "\r\n";
      continue;
    }
    EXPECT_EQ(Rows{}, QueryRows(database, batch)) << batch;
    batch.clear();
    ++batches;
  }
  EXPECT_EQ(6, batches);
  EXPECT_EQ("", batch) << "lines after the last GO would never be sent";
  EXPECT_EQ(Rows{"3"}, QueryRows(database, "SELECT COUNT(*) FROM Supplier"));
  EXPECT_EQ(Rows{"6"}, QueryRows(database, "SELECT COUNT(*) FROM PartList"));
  EXPECT_EQ(Rows{"Harbour Tools"}, QueryRows(database, "SELECT Supplier FROM PartList WHERE PartId = 201"));
  EXPECT_EQ(Rows{"24.2"}, QueryRows(database, "SELECT ROUND(Price, 2) FROM Part WHERE PartId = 202"));
}

}  // namespace
