// The ODBC call table on Windows: odbc32.dll from the system folder, never from the
// program's folder or the current one, which others may be able to write to. The
// unsuffixed names are the ANSI entry points (some driver managers have no "A" names).
#include "Database/OdbcApi.h"

#include <string>

namespace {

template <typename Function>
bool Find(HMODULE module, const char* name, Function& function) {
  // Through the generic function type, which converts to any other without complaint.
  function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
  return function != nullptr;
}

HMODULE LoadOdbc32() {
  // The search flags exist where AddDllDirectory does (the documented test); an older
  // system may not refuse an unknown flag but search the usual folders instead.
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (kernel != nullptr && GetProcAddress(kernel, "AddDllDirectory") != nullptr) {
    HMODULE module = LoadLibraryExA("odbc32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module != nullptr) return module;
  }
  // Systems without the search flags: the same file by its full path.
  char folder[MAX_PATH];
  const UINT length = GetSystemDirectoryA(folder, sizeof folder);
  if (length == 0 || length >= sizeof folder) return nullptr;
  const std::string path = std::string(folder, length) + "\\odbc32.dll";
  return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

bool LoadSystemOdbc(OdbcApi& api) {
  api = OdbcApi{};
  HMODULE module = LoadOdbc32();
  if (module == nullptr) return false;
  OdbcApi loaded{};
  const bool complete =
      Find(module, "SQLAllocHandle", loaded.AllocHandle) &&
      Find(module, "SQLSetEnvAttr", loaded.SetEnvAttr) &&
      Find(module, "SQLDriverConnect", loaded.DriverConnect) &&
      Find(module, "SQLSetConnectAttr", loaded.SetConnectAttr) &&
      Find(module, "SQLSetStmtAttr", loaded.SetStmtAttr) &&
      Find(module, "SQLExecDirect", loaded.ExecDirect) &&
      Find(module, "SQLMoreResults", loaded.MoreResults) && Find(module, "SQLCancel", loaded.Cancel) &&
      Find(module, "SQLGetDiagField", loaded.GetDiagField) &&
      Find(module, "SQLGetDiagRec", loaded.GetDiagRec) && Find(module, "SQLDisconnect", loaded.Disconnect) &&
      Find(module, "SQLFreeHandle", loaded.FreeHandle);
  if (!complete) {
    FreeLibrary(module);
    return false;
  }
  // The library stays loaded for the rest of the process: the table points into it.
  api = loaded;
  return true;
}
