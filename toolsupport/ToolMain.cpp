#include "toolsupport/ToolMain.h"

#include <cstdio>
#include <sstream>

// The texts go out through stdio, not std::cout: the C++ standard streams would bring
// in file functions that the C runtime of Windows 2000 lacks.
int RunToolMain(int argc, char** argv, ToolRun run) {
  std::ostringstream out, err;
  const int code = run(std::vector<std::string>(argv + 1, argv + argc), out, err);
  const std::string outText = out.str(), errText = err.str();
  std::fwrite(outText.data(), 1, outText.size(), stdout);
  std::fwrite(errText.data(), 1, errText.size(), stderr);
  return code;
}
