// A key that is too long is refused with a real message box. Another thread finds the
// box, reads it and presses its button, as a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "Des/Encryption.h"
#include "TestThread.h"

namespace {

struct SeenBox {
  HWND window = nullptr;
  std::string caption;
  std::string text;
  int buttons = 0;
  bool hasOkButton = false;
  bool hasIcon = false;
};

BOOL CALLBACK FindOurBox(HWND window, LPARAM found) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  if (process == GetCurrentProcessId() && std::string(className) == "#32770" && IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK ReadControl(HWND control, LPARAM seen) {
  auto* box = reinterpret_cast<SeenBox*>(seen);
  char className[64] = {};
  GetClassNameA(control, className, sizeof className);
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  if (lstrcmpiA(className, "Button") == 0) {
    ++box->buttons;
    if (GetDlgCtrlID(control) == IDOK) box->hasOkButton = true;
  } else if (lstrcmpiA(className, "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
    box->hasIcon = true;
  }
  return TRUE;
}

// Waits up to a minute for the box (Wine may be slow on a busy machine), reads it,
// then presses OK.
void AnswerTheBox(SeenBox& box) {
  for (int tries = 0; tries < 1200 && !box.window; ++tries) {
    Sleep(50);
    EnumWindows(FindOurBox, reinterpret_cast<LPARAM>(&box.window));
  }
  if (!box.window) return;
  char buffer[512] = {};
  GetWindowTextA(box.window, buffer, sizeof buffer);
  box.caption = buffer;
  GetDlgItemTextA(box.window, 0xFFFF, buffer, sizeof buffer);
  box.text = buffer;
  EnumChildWindows(box.window, ReadControl, reinterpret_cast<LPARAM>(&box));
  PostMessageA(GetDlgItem(box.window, IDOK), BM_CLICK, 0, 0);
}

TEST(KeyNotice, LongKeyShowsAnInformationBoxAndKeepsTheKey) {
  TEncryption des;
  des.SetKey("meadows");
  SeenBox box;
  TestThread user([&] { AnswerTheBox(box); });
  des.SetKey("nine char");  // returns once the box is closed
  user.Join();

  ASSERT_NE(nullptr, box.window) << "no message box appeared";
  EXPECT_EQ("Information", box.caption);
  EXPECT_EQ("Key String Length Must Less 9 Character.", box.text);
  EXPECT_EQ(1, box.buttons);
  EXPECT_TRUE(box.hasOkButton);
  EXPECT_TRUE(box.hasIcon);
  EXPECT_FALSE(IsWindow(box.window));
  EXPECT_EQ("meadows", des.Key());
}

}  // namespace
