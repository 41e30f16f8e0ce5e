#include <clocale>
#include <cstdio>
#include <sstream>

#include "tools/SqePlan.h"

// The texts go out through stdio, not std::cout: the C++ standard streams would bring
// in file functions that the C runtime of Windows 2000 lacks.
int main(int argc, char** argv) {
  // File names and the lead bytes of texts follow the user's locale.
  std::setlocale(LC_CTYPE, "");
  std::ostringstream out, err;
  const int code = RunSqeplan(std::vector<std::string>(argv + 1, argv + argc), out, err);
  std::fwrite(out.str().data(), 1, out.str().size(), stdout);
  std::fputs(err.str().c_str(), stderr);
  return code;
}
