#include <clocale>

#include "tools/SqePlan.h"
#include "toolsupport/ToolMain.h"

int main(int argc, char** argv) {
  // File names and the lead bytes of texts follow the user's locale.
  std::setlocale(LC_CTYPE, "");
  return RunToolMain(argc, argv, RunSqeplan);
}
