#include <clocale>

#include "tools/Sqecrypt.h"
#include "toolsupport/ToolMain.h"

int main(int argc, char** argv) {
  // File names are read in the characters of the user's locale.
  std::setlocale(LC_CTYPE, "");
  return RunToolMain(argc, argv, RunSqecrypt);
}
