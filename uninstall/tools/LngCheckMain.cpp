#include "tools/CodePage.h"
#include "tools/LngCheck.h"
#include "toolsupport/ToolMain.h"

int main(int argc, char** argv) {
  UseCodePage936LeadBytes();
  return RunToolMain(argc, argv, RunLngcheck);
}
