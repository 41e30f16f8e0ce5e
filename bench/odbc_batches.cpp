// The yardstick for VELDAR's overhead: a minimal Windows program that connects as
// VELDAR does and sends the batches of a script with nothing but the ODBC calls of
// one batch (statement, time-out, execution, diagnostics, further results, free).
//   odbc_batches SCRIPT SERVER
// A batch is every line up to a line that reads "GO" exactly. Prints the number of
// batches, how many failed, and the time of the sending loop.
#include <windows.h>
#include <sql.h>
#include <sqlext.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

void ReadDiagnostics(SQLHSTMT statement) {
  SQLINTEGER count = 0;
  if (!SQL_SUCCEEDED(
          SQLGetDiagField(SQL_HANDLE_STMT, statement, 0, SQL_DIAG_NUMBER, &count, SQL_IS_INTEGER, nullptr))) {
    return;
  }
  for (SQLSMALLINT record = 1; record <= count; ++record) {
    SQLCHAR state[1024];
    SQLINTEGER nativeError = 0;
    SQLCHAR message[1024];
    SQLSMALLINT length = 0;
    SQLGetDiagRec(SQL_HANDLE_STMT, statement, record, state, &nativeError, message, sizeof message, &length);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: odbc_batches SCRIPT SERVER\n");
    return 2;
  }
  std::vector<std::string> batches;
  std::ifstream script(argv[1], std::ios::binary);
  std::string line, batch;
  while (std::getline(script, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line == "GO") {
      batches.push_back(batch);
      batch.clear();
    } else {
      batch += line + "\r\n";
    }
  }

  SQLHENV env = SQL_NULL_HENV;
  SQLHDBC dbc = SQL_NULL_HDBC;
  SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
  SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), SQL_IS_INTEGER);
  SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
  std::string connection = std::string("DRIVER={SQL Server};SERVER=") + argv[2] + ";UID=sa;PWD=;";
  SQLCHAR completed[1024];
  SQLSMALLINT completedLength = 0;
  if (!SQL_SUCCEEDED(SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(&connection[0]), SQL_NTS,
                                      completed, sizeof completed, &completedLength, SQL_DRIVER_NOPROMPT))) {
    std::fprintf(stderr, "odbc_batches: connection failed\n");
    return 1;
  }
  SQLSetConnectAttr(dbc, SQL_ATTR_ASYNC_ENABLE, reinterpret_cast<SQLPOINTER>(SQL_ASYNC_ENABLE_ON), 0);

  const auto start = std::chrono::steady_clock::now();
  int failed = 0;
  for (std::string& text : batches) {
    SQLHSTMT statement = SQL_NULL_HSTMT;
    SQLAllocHandle(SQL_HANDLE_STMT, dbc, &statement);
    SQLSetStmtAttr(statement, SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(18000), 0);
    SQLRETURN result;
    do {
      result = SQLExecDirect(statement, reinterpret_cast<SQLCHAR*>(&text[0]), SQL_NTS);
    } while (result == SQL_STILL_EXECUTING);
    if (result < 0) ++failed;
    for (;;) {
      ReadDiagnostics(statement);
      if (SQLMoreResults(statement) == SQL_NO_DATA) break;
    }
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  SQLDisconnect(dbc);
  SQLFreeHandle(SQL_HANDLE_DBC, dbc);
  SQLFreeHandle(SQL_HANDLE_ENV, env);
  std::printf("odbc_batches: %zu batches, %d failed, sending loop %.3f s\n", batches.size(), failed, seconds);
  return failed ? 1 : 0;
}
