#include <clocale>
#include <cstdio>
#include <sstream>

#include "tools/Sqecrypt.h"

// The texts go out through stdio, not std::cout: the C++ standard streams would bring
// in file functions that the C runtime of Windows 2000 lacks.
int main(int argc, char** argv) {
  // File names are read in the characters of the user's locale.
  std::setlocale(LC_CTYPE, "");
  std::ostringstream out, err;
  const int code = RunSqecrypt(std::vector<std::string>(argv + 1, argv + argc), out, err);
  std::fputs(out.str().c_str(), stdout);
  std::fputs(err.str().c_str(), stderr);
  return code;
}
