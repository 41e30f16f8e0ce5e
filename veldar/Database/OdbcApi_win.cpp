// The ODBC call table on Windows: odbc32.dll from the system folder. The
// unsuffixed names are the ANSI entry points (some driver managers have no "A" names).
#include "Database/OdbcApi.h"

#include "Base/SystemLibrary.h"

bool LoadSystemOdbc(OdbcApi& api) {
  api = OdbcApi{};
  HMODULE module = LoadSystemLibrary("odbc32.dll");
  if (module == nullptr) return false;
  OdbcApi loaded{};
  const bool complete =
      FindFunction(module, "SQLAllocHandle", loaded.AllocHandle) &&
      FindFunction(module, "SQLSetEnvAttr", loaded.SetEnvAttr) &&
      FindFunction(module, "SQLDriverConnect", loaded.DriverConnect) &&
      FindFunction(module, "SQLSetConnectAttr", loaded.SetConnectAttr) &&
      FindFunction(module, "SQLSetStmtAttr", loaded.SetStmtAttr) &&
      FindFunction(module, "SQLExecDirect", loaded.ExecDirect) &&
      FindFunction(module, "SQLMoreResults", loaded.MoreResults) &&
      FindFunction(module, "SQLCancel", loaded.Cancel) &&
      FindFunction(module, "SQLGetDiagField", loaded.GetDiagField) &&
      FindFunction(module, "SQLGetDiagRec", loaded.GetDiagRec) &&
      FindFunction(module, "SQLDisconnect", loaded.Disconnect) &&
      FindFunction(module, "SQLFreeHandle", loaded.FreeHandle);
  if (!complete) {
    FreeLibrary(module);
    return false;
  }
  // The library stays loaded for the rest of the process: the table points into it.
  api = loaded;
  return true;
}
