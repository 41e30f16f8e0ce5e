// The connection against a real database server: PostgreSQL through psqlODBC,
// registered as "SQL Server" in a driver registry of its own. This driver refuses
// asynchronous execution and reports errors of logins, statements and lost servers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "Database/Database.h"
#include "database_test_host.h"
#include "test_caller.h"

namespace {

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

// The role of the test server; the password needs quoting in a connection string.
const char kLogin[] = "veldar";
const char kPassword[] = " Se;cr{e}t pw";

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

class DatabasePostgres : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(LoadSystemOdbc(api_));
    ASSERT_FALSE(Environment("POSTGRES_TEST_FOLDER").empty()) << "run through ctest (fixture postgres)";
    UsePort();
  }
  // A test that stopped the server leaves it running for the next one, however it ended.
  void TearDown() override {
    if (stopped_) {
      EXPECT_EQ(0, Server("start"));
    }
  }

  SQLRETURN Connect() { return database_.ConnectDatabase("127.0.0.1", kLogin, kPassword); }

  // The connection string has no port: libpq takes it from PGPORT.
  void UsePort(test_support::Caller caller = {}) {
    test_support::CallerTrace trace(caller);
    std::ifstream file(Environment("POSTGRES_TEST_FOLDER") + "/port");
    std::string port;
    ASSERT_TRUE(std::getline(file, port)) << "the test server is not running";
    setenv("PGPORT", port.c_str(), 1);
  }

  int Server(const std::string& command) {
    stopped_ = command == "stop";
    return std::system((Environment("POSTGRES_TEST_SCRIPT") + " " + command + " '" +
                        Environment("POSTGRES_TEST_FOLDER") + "'")
                           .c_str());
  }

  OdbcApi api_{};
  TestHost host_;
  Database database_{api_, host_};
  bool stopped_ = false;
};

// The driver's reason is kept for the run's record; a login that is the password is
// named in it, and hidden.
TEST_F(DatabasePostgres, ARefusedLoginFailsTheConnectionWithoutShowingAnythingAndKeepsTheReason) {
  const char* const cases[][3] = {
      {kLogin, "wrong", "veldar"}, {"nobody", kPassword, "nobody"}, {"pw4711", "pw4711", "***"}};
  for (const auto& c : cases) {
    EXPECT_LT(database_.ConnectDatabase("127.0.0.1", c[0], c[1]), 0);
    ASSERT_THAT(database_.ConnectionDiagnostics(), Not(IsEmpty())) << c[0];
    EXPECT_EQ(5u, database_.ConnectionDiagnostics()[0].state.size());
    EXPECT_THAT(database_.ConnectionDiagnostics()[0].message,
                AllOf(HasSubstr(std::string("password authentication failed for user \"") + c[2] + "\""),
                      Not(HasSubstr(c[1]))));
    database_.CloseDatabase();
  }
  EXPECT_THAT(host_.lines, IsEmpty());
}

TEST_F(DatabasePostgres, BatchesRunSynchronouslyWhenTheDriverRefusesAsynchronousExecution) {
  ASSERT_GE(Connect(), 0);
  EXPECT_EQ(SQL_SUCCESS,
            database_.ExecuteBatch("CREATE TABLE sync_t(a int);\r\nINSERT INTO sync_t VALUES (1), (2);\r\n"));
  // Succeeds only when the batch before has run completely.
  EXPECT_EQ(SQL_SUCCESS, database_.ExecuteBatch("DO $$ BEGIN IF (SELECT sum(a) FROM sync_t) <> 3 THEN\r\n"
                                                "RAISE EXCEPTION 'not there'; END IF; END $$;\r\n"));
  EXPECT_THAT(host_.lines, IsEmpty());
}

TEST_F(DatabasePostgres, MessagesOfLaterStatementsAndErrorsReachTheOutput) {
  ASSERT_GE(Connect(), 0);
  // The second notice belongs to a later result, read after SQLMoreResults.
  EXPECT_EQ(SQL_SUCCESS_WITH_INFO,
            database_.ExecuteBatch("SELECT 1;\r\nDO $$ BEGIN RAISE NOTICE 'first'; END $$;\r\n"
                                   "SELECT 2;\r\nDO $$ BEGIN RAISE NOTICE 'second'; END $$;\r\n"));
  EXPECT_THAT(host_.lines, ElementsAre("NOTICE: first", "NOTICE: second"));

  host_.lines.clear();
  EXPECT_LT(database_.ExecuteBatch("SELECT 1/0;\r\n"), 0);
  EXPECT_THAT(host_.lines, ElementsAre("ERROR: division by zero;", "Error while executing the query"));
}

TEST_F(DatabasePostgres, AServerStoppedDuringARunFailsTheLaterBatchesAndNothingHangs) {
  ASSERT_GE(Connect(), 0);
  EXPECT_EQ(SQL_SUCCESS, database_.ExecuteBatch("CREATE TABLE stopped_t(a int);\r\n"));
  EXPECT_THAT(host_.lines, IsEmpty());

  ASSERT_EQ(0, Server("stop"));
  for (const char* batch :
       {"INSERT INTO stopped_t VALUES (1);\r\n", "INSERT INTO stopped_t VALUES (2);\r\n"}) {
    host_.lines.clear();
    EXPECT_LT(database_.ExecuteBatch(batch), 0) << batch;
    EXPECT_THAT(host_.lines, Not(IsEmpty())) << batch;
  }
  database_.CloseDatabase();

  ASSERT_EQ(0, Server("start"));
  UsePort();
  // Nothing of the failed batches reached the server.
  host_.lines.clear();
  ASSERT_GE(Connect(), 0);
  EXPECT_EQ(SQL_SUCCESS, database_.ExecuteBatch("DO $$ BEGIN IF EXISTS (SELECT 1 FROM stopped_t) THEN\r\n"
                                                "RAISE EXCEPTION 'rows'; END IF; END $$;\r\n"));
  EXPECT_THAT(host_.lines, IsEmpty());
}

}  // namespace
