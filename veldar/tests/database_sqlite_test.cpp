// The connection against a real driver: the SQLite3 ODBC driver registered as
// "SQL Server", natively through unixODBC and on Windows (under Wine) through the
// system's odbc32.dll as the program loads it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "Database/Database.h"
#include "database_test_host.h"
#include "test_files.h"
#include "test_caller.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// The driver, given no database name, takes the whole connection string as the name
// of its database file in the folder the process started in. Every test names its
// own server, and so its own file, and removes it before and after.
class DatabaseSqlite : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(LoadSystemOdbc(api_));
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    server_ = "veldar-" + name;
#ifndef _WIN32
    // Natively each test also works in a folder of its own.
    const std::string folder =
        test_support::MakeScratchFolder(::testing::TempDir(), "veldar_database_" + name);
    ASSERT_EQ(0, chdir(folder.c_str())) << folder;
#endif
    file_ = Database::ConnectionString(server_, "sa", "", IsAnsiLeadByte);
    std::remove(file_.c_str());
  }
  void TearDown() override {
    std::remove(file_.c_str());
  }

  // A new connection to this test's database; host_ collects the output of all of them.
  std::unique_ptr<Database> Connect(test_support::Caller caller = {}) {
    test_support::CallerTrace trace(caller);
    auto database = std::make_unique<Database>(api_, host_);
    const SQLRETURN rc = database->ConnectDatabase(server_, "sa", "");
    EXPECT_TRUE(rc >= 0) << rc;
    return database;
  }

  OdbcApi api_{};
  TestHost host_;
  std::string server_, file_;
};

TEST_F(DatabaseSqlite, BatchesChangeTheDatabaseThatLaterConnectionsSee) {
  {
    auto database = Connect();
    EXPECT_EQ(SQL_SUCCESS,
              database->ExecuteBatch("CREATE TABLE t(a INTEGER);\r\nINSERT INTO t VALUES(41);\r\n"));
    EXPECT_EQ(SQL_SUCCESS, database->ExecuteBatch("CREATE TABLE u(a INTEGER NOT NULL);\r\n"));
    database->CloseDatabase();
  }
  // The insert succeeds only when the subquery finds the row of the first connection.
  auto database = Connect();
  EXPECT_EQ(SQL_SUCCESS,
            database->ExecuteBatch("INSERT INTO u SELECT (SELECT a + 1 FROM t WHERE a = 41);\r\n"));
  EXPECT_LT(database->ExecuteBatch("INSERT INTO u SELECT (SELECT a FROM t WHERE a = 40);\r\n"), 0);
  ASSERT_EQ(1u, host_.lines.size());
  EXPECT_THAT(host_.lines[0], HasSubstr("NOT NULL"));
}

TEST_F(DatabaseSqlite, AFailingBatchReturnsANegativeResultAndTheDriversMessage) {
  auto database = Connect();
  // The statements before the failing one keep their effect; the connection goes on.
  EXPECT_LT(database->ExecuteBatch("CREATE TABLE kept(a);\r\nINSERT INTO missing VALUES(1);\r\n"), 0);
  EXPECT_THAT(host_.lines, ElementsAre(HasSubstr("no such table: missing")));
  host_.lines.clear();
  EXPECT_EQ(SQL_SUCCESS, database->ExecuteBatch("INSERT INTO kept VALUES(1);\r\n"));
  EXPECT_THAT(host_.lines, IsEmpty());
}

TEST_F(DatabaseSqlite, RowsAreSkippedAndEmptyBatchesReturn) {
  auto database = Connect();
  EXPECT_EQ(SQL_SUCCESS, database->ExecuteBatch("SELECT 1 UNION SELECT 2;\r\n"));
  EXPECT_THAT(host_.lines, IsEmpty());
  // A batch of line breaks only has nothing to do; an empty text this driver refuses.
  EXPECT_EQ(SQL_NO_DATA, database->ExecuteBatch("\r\n"));
  EXPECT_LT(database->ExecuteBatch(""), 0);
  EXPECT_EQ(SQL_SUCCESS, database->ExecuteBatch("SELECT 3;\r\n"));
}

}  // namespace
