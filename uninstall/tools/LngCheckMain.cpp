#include <cstdio>
#include <sstream>

#include "tools/CodePage.h"
#include "tools/LngCheck.h"

// The texts go out through stdio, not std::cout: the C++ standard streams would bring
// in file functions that the C runtime of Windows 2000 lacks.
int main(int argc, char** argv) {
  UseCodePage936LeadBytes();
  std::ostringstream out, err;
  const int code = RunLngcheck(std::vector<std::string>(argv + 1, argv + argc), out, err);
  std::fwrite(out.str().data(), 1, out.str().size(), stdout);
  std::fputs(err.str().c_str(), stderr);
  return code;
}
