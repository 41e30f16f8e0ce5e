// Smoke test of the test driver registry: a connection string naming the driver
// "SQL Server" connects and runs statements, natively and under Wine alike.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "odbc_query.h"
#include "test_files.h"

#ifdef _WIN32
#include <direct.h>
#define chdir _chdir
#define getcwd _getcwd
#else
#include <unistd.h>
#endif

namespace {

using Rows = std::vector<std::string>;

// Without a Database attribute the SQLite3 ODBC driver takes the whole connection
// string as the name of a database file in the current folder, so each test works
// in a folder of its own. Under Wine the driver keeps using the folder the process
// started in, whatever the current folder becomes, so the file is removed there too.
class OdbcFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    char start[4096];
    ASSERT_NE(nullptr, getcwd(start, sizeof start));
    startFile_ = std::string(start) + "/" + kDatabaseFile;
    std::remove(startFile_.c_str());
    const std::string folder = test_support::MakeScratchFolder(
        ::testing::TempDir(),
        std::string("odbc_fixture_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    ASSERT_EQ(0, chdir(folder.c_str())) << folder;
  }
  void TearDown() override {
    std::remove(kDatabaseFile);
    std::remove(startFile_.c_str());
  }

  static constexpr const char* kDatabaseFile = "DRIVER={SQL Server};SERVER=localhost;UID=sa;PWD=;";
  std::string startFile_;
};

TEST_F(OdbcFixture, SqlServerDriverNameConnectsAndRunsStatements) {
  // Every statement of the batch runs; the next connection opens the same file.
  EXPECT_EQ(Rows{}, QueryRows(kDatabaseFile,
                              "CREATE TABLE t(a INTEGER);\r\nINSERT INTO t VALUES(41);\r\n"
                              "UPDATE t SET a = a + 1;\r\n"));
  EXPECT_EQ(Rows{"42"}, QueryRows(kDatabaseFile, "SELECT a FROM t"));
}

TEST_F(OdbcFixture, UnknownDriverNameFailsWithoutPrompting) {
  const Rows rows = QueryRows("DRIVER={No Such Driver};SERVER=x;UID=sa;PWD=;", "SELECT 1");
  ASSERT_EQ(1u, rows.size());
  EXPECT_EQ(0u, rows[0].find("<connect failed>")) << rows[0];
}

}  // namespace
