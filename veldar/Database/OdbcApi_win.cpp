// The ODBC call table on Windows: odbc32.dll from the system folder. The
// unsuffixed names are the ANSI entry points (some driver managers have no "A" names).
#include "Database/OdbcApi.h"

#include "Base/SystemLibrary.h"

namespace {

bool Fail(const char* name, OdbcLoadFailure* failure) {
  if (failure) *failure = {name, GetLastError()};
  return false;
}

}  // namespace

bool LoadSystemOdbc(OdbcApi& api, OdbcLoadFailure* failure) {
  api = OdbcApi{};
  const char kLibrary[] = "odbc32.dll";
  HMODULE module = LoadSystemLibrary(kLibrary);
  if (module == nullptr) return Fail(kLibrary, failure);
  OdbcApi loaded{};
  const char* missing = nullptr;
  const auto find = [module, &missing](const char* name, auto& function) {
    if (!FindFunction(module, name, function)) missing = name;
    return !missing;
  };
  const bool complete =
      find("SQLAllocHandle", loaded.AllocHandle) && find("SQLSetEnvAttr", loaded.SetEnvAttr) &&
      find("SQLDriverConnect", loaded.DriverConnect) && find("SQLSetConnectAttr", loaded.SetConnectAttr) &&
      find("SQLSetStmtAttr", loaded.SetStmtAttr) && find("SQLExecDirect", loaded.ExecDirect) &&
      find("SQLMoreResults", loaded.MoreResults) && find("SQLCancel", loaded.Cancel) &&
      find("SQLGetDiagField", loaded.GetDiagField) && find("SQLGetDiagRec", loaded.GetDiagRec) &&
      find("SQLDisconnect", loaded.Disconnect) && find("SQLFreeHandle", loaded.FreeHandle);
  if (!complete) {
    Fail(missing, failure);
    FreeLibrary(module);
    return false;
  }
  // The library stays loaded for the rest of the process: the table points into it.
  api = loaded;
  return true;
}
