// The ODBC call table natively: the unixODBC driver manager the program is linked with.
#include "Database/OdbcApi.h"

bool LoadSystemOdbc(OdbcApi& api, OdbcLoadFailure*) {
  api.AllocHandle = &SQLAllocHandle;
  api.SetEnvAttr = &SQLSetEnvAttr;
  api.DriverConnect = &SQLDriverConnect;
  api.SetConnectAttr = &SQLSetConnectAttr;
  api.SetStmtAttr = &SQLSetStmtAttr;
  api.ExecDirect = &SQLExecDirect;
  api.MoreResults = &SQLMoreResults;
  api.Cancel = &SQLCancel;
  api.GetDiagField = &SQLGetDiagField;
  api.GetDiagRec = &SQLGetDiagRec;
  api.Disconnect = &SQLDisconnect;
  api.FreeHandle = &SQLFreeHandle;
  return true;
}
