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
#define FIND(name) && find("SQL" #name, loaded.name)
  const bool complete = true ODBC_API_CALLS(FIND);
#undef FIND
  if (!complete) {
    Fail(missing, failure);
    FreeLibrary(module);
    return false;
  }
  // The library stays loaded for the rest of the process: the table points into it.
  api = loaded;
  return true;
}
