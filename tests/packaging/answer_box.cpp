// Answers the next message box of any program in the prefix as its user would:
// "answer_box BUTTON SECONDS" prints the box's caption and text and presses BUTTON
// (1 OK, 6 Yes, 7 No); exit code 1 when no box came within SECONDS.
#include <cstdio>
#include <cstdlib>

#include "test_windows.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  using namespace test_support;
  HWND box = WaitForWindowOf(0, "#32770", std::atoi(argv[2]) * 1000,
                             [](HWND window) { return !MessageBoxText(window).empty(); });
  if (box == nullptr) return 1;
  const BoxTexts texts = ReadMessageBox(box);
  std::printf("%s\n%s\n", texts.caption.c_str(), texts.text.c_str());
  std::fflush(stdout);
  Press(box, std::atoi(argv[1]));
  return 0;
}
