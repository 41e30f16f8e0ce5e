// Smoke test of the test driver registry: a connection string naming the driver
// "SQL Server" connects and runs statements, natively and under Wine alike.
#ifdef _WIN32
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include <cstdio>
#include <string>

#ifdef _WIN32
#include <direct.h>
#define chdir _chdir
#define getcwd _getcwd
#else
#include <unistd.h>
#endif

namespace {

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
    folder_ = ::testing::TempDir() + "odbc_fixture_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
#ifdef _WIN32
    CreateDirectoryA(folder_.c_str(), nullptr);
#else
    std::string command = "mkdir -p '" + folder_ + "'";
    ASSERT_EQ(0, std::system(command.c_str()));
#endif
    ASSERT_EQ(0, chdir(folder_.c_str())) << folder_;
    std::remove(kDatabaseFile);
  }
  void TearDown() override {
    std::remove(kDatabaseFile);
    std::remove(startFile_.c_str());
  }

  static constexpr const char* kDatabaseFile = "DRIVER={SQL Server};SERVER=localhost;UID=sa;PWD=;";
  std::string folder_, startFile_;
};

std::string Diagnostics(SQLSMALLINT type, SQLHANDLE handle) {
  std::string all;
  SQLCHAR state[8], message[1024];
  SQLINTEGER native;
  SQLSMALLINT length;
  for (SQLSMALLINT i = 1;
       SQL_SUCCEEDED(SQLGetDiagRec(type, handle, i, state, &native, message, sizeof message, &length));
       ++i) {
    all += reinterpret_cast<char*>(message);
    all += '\n';
  }
  return all;
}

TEST_F(OdbcFixture, SqlServerDriverNameConnectsAndRunsStatements) {
  SQLHENV env = SQL_NULL_HENV;
  SQLHDBC dbc = SQL_NULL_HDBC;
  SQLHSTMT stmt = SQL_NULL_HSTMT;
  ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)));
  ASSERT_TRUE(SQL_SUCCEEDED(SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION,
                                          reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), SQL_IS_INTEGER)));
  ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc)));

  SQLCHAR connect[] = "DRIVER={SQL Server};SERVER=localhost;UID=sa;PWD=;";
  SQLCHAR out[1024];
  SQLSMALLINT outLength = 0;
  SQLRETURN rc = SQLDriverConnect(dbc, nullptr, connect, SQL_NTS, out, sizeof out, &outLength,
                                   SQL_DRIVER_NOPROMPT);
  ASSERT_TRUE(SQL_SUCCEEDED(rc)) << Diagnostics(SQL_HANDLE_DBC, dbc);

  ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt)));
  SQLCHAR batch[] = "CREATE TABLE t(a INTEGER);\r\nINSERT INTO t VALUES(41);\r\nUPDATE t SET a = a + 1;\r\n";
  rc = SQLExecDirect(stmt, batch, SQL_NTS);
  EXPECT_TRUE(SQL_SUCCEEDED(rc)) << Diagnostics(SQL_HANDLE_STMT, stmt);
  SQLFreeHandle(SQL_HANDLE_STMT, stmt);

  ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt)));
  SQLCHAR query[] = "SELECT a FROM t";
  ASSERT_TRUE(SQL_SUCCEEDED(SQLExecDirect(stmt, query, SQL_NTS))) << Diagnostics(SQL_HANDLE_STMT, stmt);
  ASSERT_TRUE(SQL_SUCCEEDED(SQLFetch(stmt)));
  SQLINTEGER value = 0;
  SQLLEN indicator = 0;
  ASSERT_TRUE(SQL_SUCCEEDED(SQLGetData(stmt, 1, SQL_C_SLONG, &value, 0, &indicator)));
  EXPECT_EQ(42, value);
  SQLFreeHandle(SQL_HANDLE_STMT, stmt);

  SQLDisconnect(dbc);
  SQLFreeHandle(SQL_HANDLE_DBC, dbc);
  SQLFreeHandle(SQL_HANDLE_ENV, env);
}

TEST_F(OdbcFixture, UnknownDriverNameFailsWithoutPrompting) {
  SQLHENV env = SQL_NULL_HENV;
  SQLHDBC dbc = SQL_NULL_HDBC;
  ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)));
  SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), SQL_IS_INTEGER);
  ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc)));
  SQLCHAR connect[] = "DRIVER={No Such Driver};SERVER=x;UID=sa;PWD=;";
  SQLRETURN rc = SQLDriverConnect(dbc, nullptr, connect, SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
  EXPECT_LT(rc, 0);
  SQLFreeHandle(SQL_HANDLE_DBC, dbc);
  SQLFreeHandle(SQL_HANDLE_ENV, env);
}

}  // namespace
