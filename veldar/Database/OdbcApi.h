// The ODBC calls the installer makes, as a table of function pointers.
//
// On Windows the table is filled from odbc32.dll, loaded from the system folder only
// (never from the program's folder, which others may be able to write to). Natively it
// points at the unixODBC driver manager the program is linked with. Tests fill it with
// their own functions to reach what no real driver does on demand (statements that
// keep running, result loops that never end, cancel in the middle of a batch).
#pragma once

#ifdef _WIN32
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>

#include <string>

struct OdbcApi {
  SQLRETURN(SQL_API* AllocHandle)(SQLSMALLINT type, SQLHANDLE input, SQLHANDLE* output);
  SQLRETURN(SQL_API* SetEnvAttr)(SQLHENV env, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER length);
  SQLRETURN(SQL_API* DriverConnect)(SQLHDBC dbc, SQLHWND window, SQLCHAR* in, SQLSMALLINT inLength,
                                    SQLCHAR* out, SQLSMALLINT outMax, SQLSMALLINT* outLength,
                                    SQLUSMALLINT completion);
  SQLRETURN(SQL_API* SetConnectAttr)(SQLHDBC dbc, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER length);
  SQLRETURN(SQL_API* SetStmtAttr)(SQLHSTMT stmt, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER length);
  SQLRETURN(SQL_API* ExecDirect)(SQLHSTMT stmt, SQLCHAR* text, SQLINTEGER length);
  SQLRETURN(SQL_API* MoreResults)(SQLHSTMT stmt);
  SQLRETURN(SQL_API* Cancel)(SQLHSTMT stmt);
  SQLRETURN(SQL_API* GetDiagField)(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT record,
                                   SQLSMALLINT field, SQLPOINTER info, SQLSMALLINT infoMax,
                                   SQLSMALLINT* infoLength);
  SQLRETURN(SQL_API* GetDiagRec)(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT record, SQLCHAR* state,
                                 SQLINTEGER* nativeError, SQLCHAR* message, SQLSMALLINT messageMax,
                                 SQLSMALLINT* messageLength);
  SQLRETURN(SQL_API* Disconnect)(SQLHDBC dbc);
  SQLRETURN(SQL_API* FreeHandle)(SQLSMALLINT type, SQLHANDLE handle);
};

// Every member of the table, for code that fills it from a source whose functions
// carry the same names (the driver manager's SQL<name>, a test's own).
#define ODBC_API_CALLS(CALL)                                                                         \
  CALL(AllocHandle) CALL(SetEnvAttr) CALL(DriverConnect) CALL(SetConnectAttr) CALL(SetStmtAttr)     \
  CALL(ExecDirect) CALL(MoreResults) CALL(Cancel) CALL(GetDiagField) CALL(GetDiagRec) CALL(Disconnect) \
  CALL(FreeHandle)

// Why the driver manager could not be loaded: the library or the call that is missing,
// and the system's error code.
struct OdbcLoadFailure {
  std::string name;
  unsigned long error = 0;
};

// The system's driver manager. Returns false (and leaves the table empty) when it
// cannot be loaded or lacks one of the calls; `failure`, when given, says which.
bool LoadSystemOdbc(OdbcApi& api, OdbcLoadFailure* failure = nullptr);
