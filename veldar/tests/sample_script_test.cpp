// The sample installation script runs, batch by batch, through the test driver that
// stands in for the server, and builds the catalogue it describes.
#include <sql.h>
#include <sqlext.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Core/ScriptLines.h"
#include "Des/ScriptFile.h"
#include "scratch_folder.h"

namespace {

std::string Diagnostics(SQLSMALLINT type, SQLHANDLE handle) {
  std::string all;
  SQLCHAR state[8], message[1024];
  SQLINTEGER native;
  SQLSMALLINT length;
  for (SQLSMALLINT i = 1;
       SQL_SUCCEEDED(SQLGetDiagRec(type, handle, i, state, &native, message, sizeof message, &length)); ++i)
    all += reinterpret_cast<char*>(message) + std::string("\n");
  return all;
}

class SampleScript : public ScratchFolder {
 protected:
  void SetUp() override {
    ScratchFolder::SetUp();
    ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_)));
    SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), SQL_IS_INTEGER);
    ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_)));
    std::string connect = "DRIVER={SQL Server};Database=" + PathOf("sample.db") + ";UID=sa;PWD=;";
    const SQLRETURN rc = SQLDriverConnect(dbc_, nullptr, reinterpret_cast<SQLCHAR*>(&connect[0]), SQL_NTS,
                                          nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    ASSERT_TRUE(SQL_SUCCEEDED(rc)) << Diagnostics(SQL_HANDLE_DBC, dbc_);
  }
  void TearDown() override {
    SQLDisconnect(dbc_);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
    SQLFreeHandle(SQL_HANDLE_ENV, env_);
    ScratchFolder::TearDown();
  }

  void Execute(std::string text) {
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &stmt)));
    // As for the installer, only a negative result is a failure: this driver answers
    // SQL_NO_DATA to a batch of definitions that begins with a comment.
    const SQLRETURN rc = SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(&text[0]), SQL_NTS);
    EXPECT_GE(rc, 0) << text << "\n" << Diagnostics(SQL_HANDLE_STMT, stmt);
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
  }

  std::string QueryText(std::string query) {
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    EXPECT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &stmt)));
    std::string value;
    if (SQL_SUCCEEDED(SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(&query[0]), SQL_NTS)) &&
        SQL_SUCCEEDED(SQLFetch(stmt))) {
      char buffer[256] = {};
      SQLLEN indicator = 0;
      if (SQL_SUCCEEDED(SQLGetData(stmt, 1, SQL_C_CHAR, buffer, sizeof buffer, &indicator))) value = buffer;
    } else {
      ADD_FAILURE() << query << "\n" << Diagnostics(SQL_HANDLE_STMT, stmt);
    }
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    return value;
  }

  SQLHENV env_ = SQL_NULL_HENV;
  SQLHDBC dbc_ = SQL_NULL_HDBC;
};

TEST_F(SampleScript, RunsBatchByBatchAndBuildsTheCatalogue) {
  std::vector<std::string> lines;
  FileFailure failure;
  ASSERT_TRUE(ReadLines(VELDAR_SAMPLES_DIR "/VELDAR.SQL", lines, failure)) << failure.reason;
  // Batches end where the installer ends them.
  int batches = 0;
  std::string batch;
  for (const std::string& line : lines) {
    if (!IsBatchEnd(line)) {
      batch += line + "\r\n";
      continue;
    }
    Execute(batch);
    batch.clear();
    ++batches;
  }
  EXPECT_EQ(6, batches);
  EXPECT_EQ("", batch) << "lines after the last GO would never be sent";
  EXPECT_EQ("3", QueryText("SELECT COUNT(*) FROM Supplier"));
  EXPECT_EQ("6", QueryText("SELECT COUNT(*) FROM PartList"));
  EXPECT_EQ("Harbour Tools", QueryText("SELECT Supplier FROM PartList WHERE PartId = 201"));
  EXPECT_EQ("24.2", QueryText("SELECT ROUND(Price, 2) FROM Part WHERE PartId = 202"));
}

}  // namespace
