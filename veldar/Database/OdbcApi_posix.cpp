// The ODBC call table natively: the unixODBC driver manager the program is linked with.
#include "Database/OdbcApi.h"

bool LoadSystemOdbc(OdbcApi& api, OdbcLoadFailure*) {
#define LINK(name) api.name = &SQL##name;
  ODBC_API_CALLS(LINK)
#undef LINK
  return true;
}
