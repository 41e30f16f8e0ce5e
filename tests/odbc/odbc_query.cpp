#include "odbc_query.h"

#ifdef _WIN32
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>

namespace {

std::string Diagnostics(SQLSMALLINT type, SQLHANDLE handle) {
  std::string all;
  SQLCHAR state[8], message[1024];
  SQLINTEGER native;
  SQLSMALLINT length;
  for (SQLSMALLINT i = 1;
       SQL_SUCCEEDED(SQLGetDiagRec(type, handle, i, state, &native, message, sizeof message, &length)); ++i)
    all += " " + std::string(reinterpret_cast<char*>(message));
  return all;
}

}  // namespace

std::vector<std::string> QueryRows(const std::string& connection, const std::string& statement) {
  std::vector<std::string> rows;
  SQLHENV env = SQL_NULL_HENV;
  SQLHDBC dbc = SQL_NULL_HDBC;
  SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
  SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), SQL_IS_INTEGER);
  SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
  std::string text = connection, sql = statement;
  if (SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(&text[0]), SQL_NTS, nullptr, 0, nullptr,
                       SQL_DRIVER_NOPROMPT) < 0) {
    rows.push_back("<connect failed>" + Diagnostics(SQL_HANDLE_DBC, dbc));
  } else {
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt);
    SQLSMALLINT columns = 0;
    if (SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(&sql[0]), SQL_NTS) < 0) {
      rows.push_back("<failed>" + Diagnostics(SQL_HANDLE_STMT, stmt));
    } else if (SQL_SUCCEEDED(SQLNumResultCols(stmt, &columns)) && columns > 0) {
      while (SQL_SUCCEEDED(SQLFetch(stmt))) {
        std::string row;
        for (SQLSMALLINT c = 1; c <= columns; ++c) {
          char value[1024] = "";
          SQLLEN length = 0;
          SQLGetData(stmt, c, SQL_C_CHAR, value, sizeof value, &length);
          row += (c > 1 ? "|" : "") + std::string(length == SQL_NULL_DATA ? "NULL" : value);
        }
        rows.push_back(row);
      }
    }
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    SQLDisconnect(dbc);
  }
  SQLFreeHandle(SQL_HANDLE_DBC, dbc);
  SQLFreeHandle(SQL_HANDLE_ENV, env);
  return rows;
}
