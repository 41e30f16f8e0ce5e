// A key that is too long is refused with a real message box. Another thread finds the
// box, reads it and presses its button, as a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "Des/Encryption.h"
#include "TestThread.h"
#include "veldar_run.h"

namespace veldar_test {
namespace {

TEST(KeyNotice, LongKeyShowsAnInformationBoxAndKeepsTheKey) {
  TEncryption des;
  des.SetKey("meadows");
  HWND box = nullptr;
  BoxTexts seen;
  TestThread user([&] {
    box = WaitForWindowOf(GetCurrentProcessId(), "#32770");
    if (!box) return;
    seen = ReadMessageBox(box);
    Press(box, IDOK);
  });
  des.SetKey("nine char");  // returns once the box is closed
  user.Join();

  ASSERT_NE(nullptr, box) << "no message box appeared";
  EXPECT_EQ("Information", seen.caption);
  EXPECT_EQ("Key String Length Must Less 9 Character.", seen.text);
  EXPECT_EQ(std::vector<int>{IDOK}, seen.buttons);
  EXPECT_TRUE(seen.icon);
  EXPECT_FALSE(IsWindow(box));
  EXPECT_EQ("meadows", des.Key());
}

}  // namespace
}  // namespace veldar_test
