#include "tools/SqeVerify.h"
#include "toolsupport/ToolMain.h"

int main(int argc, char** argv) {
  return RunToolMain(argc, argv, RunSqeverify);
}
