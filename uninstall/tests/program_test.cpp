// uninstall.exe itself: its modes and the final notice, each test with a copy of the
// program in a scratch folder of its own (so the language library and file are its own).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "test_files.h"
#include "test_text.h"
#include "test_windows.h"
#include "tests/language_support.h"

using namespace test_support;
using namespace uninstall_test;

namespace {

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = MakeScratchFolder(
        TempFolder(), "program-" + Ansi("卸载") + "\x81\x5c-" + std::to_string(GetCurrentProcessId()));
  }
  void TearDown() override { RemoveFolder(folder_); }
  // Copies the program (and, when asked, the test language library) into the folder.
  std::string Install(const std::string& programName, bool withLibrary, test_support::Caller caller = {}) {
    test_support::CallerTrace trace(caller);
    std::string program = folder_ + programName;
    EXPECT_TRUE(CopyFileA(WindowsPath(UNINSTALL_EXE).c_str(), program.c_str(), FALSE));
    if (withLibrary) {
      EXPECT_TRUE(CopyFileA((WindowsPath(TEST_LIBRARY_DIR) + "\\kzplng.dll").c_str(),
                            (folder_ + "kzplng.dll").c_str(), FALSE));
    }
    return program;
  }
  // Runs the program with its scratch folder as the current folder; when `box` is
  // given, waits for its message box, reads it and presses OK. Returns the exit code.
  int Run(const std::string& program, const std::string& switches, BoxTexts* box = nullptr,
          test_support::Caller caller = {}) {
    test_support::CallerTrace trace(caller);
    Process process;
    if (!process.Start(program, switches, folder_)) {
      ADD_FAILURE() << "cannot start " << program;
      return -2;
    }
    if (box != nullptr) {
      std::vector<BoxTexts> boxes = AnswerMessageBoxes(process, {IDOK});
      *box = boxes.empty() ? BoxTexts() : boxes[0];
    }
    return process.Wait();
  }
  // Runs the program with `switches`, expecting exit code 0 after the notice `caption`, `text`.
  void ExpectNotice(const std::string& program, const char* switches, const std::string& caption,
                    const std::string& text, test_support::Caller caller = {}) {
    test_support::CallerTrace trace(caller);
    BoxTexts box;
    EXPECT_EQ(0, Run(program, switches, &box));
    ASSERT_TRUE(box.shown);
    EXPECT_EQ(caption, box.caption);
    EXPECT_EQ(text, box.text);
  }
  std::string folder_;
};

TEST_F(ProgramTest, WarningShowsTheFinalNoticeWithTheProgramsPath) {
  std::string program = Install("uninstall.exe", false);
  ExpectNotice(program, "/warning", Ansi("卸载 Zendra"),
               Ansi("卸载已完成") + "\n" + Ansi("你应该手动删除 ") + program);
}

TEST_F(ProgramTest, WarningSpeaksThroughTheLanguageLibraryAndFileBesideTheProgram) {
  // The program's name holds a character whose trail byte is the backslash byte.
  std::string program = Install("\x81\x5c.exe", true);
  ExpectNotice(program, "/WARNING", Ansi("库：卸载 Zendra"),
               Ansi("库：卸载已完成") + "\n" + Ansi("库：请手动删除 ") + program);

  // A language file comes first; its keys are made from the program's own texts.
  WriteFileBytes(folder_ + "uninstall.lng",
                 kMarkerLine + Entry(Ansi("卸载已完成"), "Uninstall complete") +
                     Entry(Ansi("你应该手动删除 %s"), "Please delete %s yourself. 100%% %d"));
  ExpectNotice(program, "/warning", Ansi("卸载 Zendra"),
               "Uninstall complete\nPlease delete " + program + " yourself. 100% %d");
}

TEST_F(ProgramTest, WaitSleepsTwoSeconds) {
  std::string program = Install("uninstall.exe", false);
  const DWORD start = GetTickCount();
  EXPECT_EQ(0, Run(program, "/wait"));
  EXPECT_GE(GetTickCount() - start, 1900u);
}

TEST_F(ProgramTest, OtherSwitchesEndWithoutAnyWindow) {
  std::string program = Install("uninstall.exe", false);
  for (const char* switches : {"/clean", "/s", "/setup /s /warning /s "}) {
    BoxTexts box;
    EXPECT_EQ(0, Run(program, switches, &box)) << switches;
    EXPECT_FALSE(box.shown) << switches << ": " << box.text;
  }
}

}  // namespace
