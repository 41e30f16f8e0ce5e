// uninstall.exe itself: its modes, and the final notice read back from the real
// message box. Each test runs a copy of the program in a scratch folder, so that the
// language library and file beside it are the test's own.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/LanguageTestSupport.h"

using namespace language_test;

namespace {

struct MessageBoxFound {
  DWORD processId;
  HWND box;
};

BOOL CALLBACK FindMessageBox(HWND window, LPARAM lParam) {
  auto* found = reinterpret_cast<MessageBoxFound*>(lParam);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  char className[64];
  GetClassNameA(window, className, sizeof className);
  if (processId == found->processId && strcmp(className, "#32770") == 0 && IsWindowVisible(window)) {
    found->box = window;
    return FALSE;
  }
  return TRUE;
}

struct NoticeBox {
  std::string caption;
  std::string text;
  bool shown = false;
};

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override { folder_ = MakeScratchFolder(std::string("program-") + Gbk("卸载") + "\x81\x5c"); }
  void TearDown() override {
    for (const std::string& file : files_) DeleteFileA(file.c_str());
    RemoveDirectoryA(folder_.c_str());
  }
  // Copies the program (and, when asked, the test language library) into the folder.
  std::string Install(const std::string& programName, bool withLibrary) {
    std::string program = folder_ + programName;
    EXPECT_TRUE(CopyFileA(WindowsPath(UNINSTALL_EXE).c_str(), program.c_str(), FALSE));
    files_.push_back(program);
    if (withLibrary) {
      std::string library = folder_ + "kzplng.dll";
      EXPECT_TRUE(
          CopyFileA((WindowsPath(TEST_LIBRARY_DIR) + "\\kzplng.dll").c_str(), library.c_str(), FALSE));
      files_.push_back(library);
    }
    return program;
  }
  void WriteLanguageFile(const std::string& entries) {
    WriteBytes(folder_ + "uninstall.lng", kMarkerLine + entries);
    files_.push_back(folder_ + "uninstall.lng");
  }
  // Starts the program with its scratch folder as the current folder.
  bool Start(const std::string& program, const std::string& switches, PROCESS_INFORMATION* process) {
    std::string commandLine = "\"" + program + "\" " + switches;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    *process = {};
    bool started = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                  folder_.c_str(), &startup, process) != FALSE;
    if (!started) ADD_FAILURE() << "cannot start " << commandLine;
    return started;
  }
  // Waits for the end of the program and gives its exit code.
  static DWORD Finish(PROCESS_INFORMATION& process) {
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 99;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
  }
  // Runs the program; when `box` is given, waits for its message box, reads it and
  // presses OK. Returns the exit code.
  DWORD Run(const std::string& program, const std::string& switches, NoticeBox* box = nullptr,
            DWORD* milliseconds = nullptr) {
    DWORD start = GetTickCount();
    PROCESS_INFORMATION process;
    if (!Start(program, switches, &process)) return 99;
    if (box != nullptr) {
      MessageBoxFound found = {process.dwProcessId, nullptr};
      // A busy machine may take long to start a process.
      for (int i = 0; i < 1200 && found.box == nullptr; ++i) {
        Sleep(50);
        EnumWindows(FindMessageBox, reinterpret_cast<LPARAM>(&found));
      }
      box->shown = found.box != nullptr;
      if (found.box != nullptr) {
        char text[2048];
        GetWindowTextA(found.box, text, sizeof text);
        box->caption = text;
        GetWindowTextA(GetDlgItem(found.box, 65535), text, sizeof text);
        box->text = text;
        PostMessageA(GetDlgItem(found.box, IDOK), BM_CLICK, 0, 0);
      }
    }
    DWORD code = Finish(process);
    if (milliseconds != nullptr) *milliseconds = GetTickCount() - start;
    return code;
  }
  std::string folder_;
  std::vector<std::string> files_;
};

TEST_F(ProgramTest, WarningShowsTheFinalNoticeWithTheProgramsPath) {
  std::string program = Install("uninstall.exe", false);
  NoticeBox box;
  EXPECT_EQ(0u, Run(program, "/warning", &box));
  ASSERT_TRUE(box.shown);
  EXPECT_EQ(Gbk("卸载 Zendra"), box.caption);
  EXPECT_EQ(Gbk("卸载已完成") + "\n" + Gbk("你应该手动删除 ") + program, box.text);
}

TEST_F(ProgramTest, WarningSpeaksThroughTheLanguageLibraryAndFileBesideTheProgram) {
  // The program's name holds a character whose trail byte is the backslash byte.
  std::string program = Install("\x81\x5c.exe", true);
  NoticeBox box;
  EXPECT_EQ(0u, Run(program, "/WARNING", &box));
  ASSERT_TRUE(box.shown);
  EXPECT_EQ(Gbk("库：卸载 Zendra"), box.caption);
  EXPECT_EQ(Gbk("库：卸载已完成") + "\n" + Gbk("库：请手动删除 ") + program, box.text);

  // A language file comes first; its keys are made from the program's own texts.
  WriteLanguageFile(Entry(Gbk("卸载已完成"), "Uninstall complete") +
                    Entry(Gbk("你应该手动删除 %s"), "Please delete %s yourself. 100%% %d"));
  EXPECT_EQ(0u, Run(program, "/warning", &box));
  ASSERT_TRUE(box.shown);
  EXPECT_EQ(Gbk("卸载 Zendra"), box.caption);
  EXPECT_EQ("Uninstall complete\nPlease delete " + program + " yourself. 100% %d", box.text);
}

TEST_F(ProgramTest, WaitSleepsTwoSeconds) {
  std::string program = Install("uninstall.exe", false);
  DWORD elapsed = 0;
  EXPECT_EQ(0u, Run(program, "/wait", nullptr, &elapsed));
  EXPECT_GE(elapsed, 1900u);
}

TEST_F(ProgramTest, OtherSwitchesEndWithoutAnyWindow) {
  std::string program = Install("uninstall.exe", false);
  for (const char* switches : {"/clean", "/s", "/setup /s /warning /s "}) {
    PROCESS_INFORMATION process;
    ASSERT_TRUE(Start(program, switches, &process));
    MessageBoxFound found = {process.dwProcessId, nullptr};
    while (WaitForSingleObject(process.hProcess, 20) == WAIT_TIMEOUT && found.box == nullptr)
      EnumWindows(FindMessageBox, reinterpret_cast<LPARAM>(&found));
    EXPECT_EQ(nullptr, found.box) << switches;
    if (found.box != nullptr) PostMessageA(GetDlgItem(found.box, IDOK), BM_CLICK, 0, 0);
    EXPECT_EQ(0u, Finish(process)) << switches;
  }
}

}  // namespace
