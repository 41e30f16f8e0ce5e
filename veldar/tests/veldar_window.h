// A fixture that drives VELDAR.exe through its window: finds the form and its
// controls, answers its message boxes and file dialog, and types keys into it.
#pragma once

#include "resources/resource.h"
#include "veldar_run.h"

namespace veldar_test {

// The program of an execute directive ("child.exe wait"): it tells when it has started
// and ends when the test releases it, or when this object goes away.
class WaitingProgram {
 public:
  explicit WaitingProgram(const std::string& name)
      : started_("veldar-test-" + name + "-started-" + std::to_string(GetCurrentProcessId())),
        release_("veldar-test-" + name + "-release-" + std::to_string(GetCurrentProcessId())),
        startedEvent_(CreateEventA(nullptr, TRUE, FALSE, started_.c_str())),
        releaseEvent_(CreateEventA(nullptr, TRUE, FALSE, release_.c_str())) {}
  ~WaitingProgram() {
    Release();
    CloseHandle(startedEvent_);
    CloseHandle(releaseEvent_);
  }
  WaitingProgram(const WaitingProgram&) = delete;
  WaitingProgram& operator=(const WaitingProgram&) = delete;

  // The directive line that runs it.
  std::string Directive() const { return "--^E child.exe wait " + started_ + " " + release_; }
  bool Started(DWORD timeoutMs = 20000) const {
    return WaitForSingleObject(startedEvent_, timeoutMs) == WAIT_OBJECT_0;
  }
  void Release() { SetEvent(releaseEvent_); }

 private:
  std::string started_;
  std::string release_;
  HANDLE startedEvent_;
  HANDLE releaseEvent_;
};

class WindowRun : public VeldarRun {
 protected:
  void TearDown() override { CloseNotepads(); }

  HWND MainWindow() { return WaitForWindow(process_.Id(), "TMainForm", 15000); }
  HWND PanelControl(HWND main, int id) { return GetDlgItem(GetDlgItem(main, IDC_PANEL1), id); }
  // Clicks the start button and returns the confirmation box.
  HWND ClickStart(HWND main) {
    PostMessageA(PanelControl(main, IDC_SETUPBTN), BM_CLICK, 0, 0);
    return NextMessageBox();
  }
  // Runs a one-batch script chosen in the file dialog against "testdb" and hands back
  // the final question.
  void RunChosenScriptToTheFinalQuestion(HWND* question) {
    ForgetOutput("chosen");
    WriteScript("chosen.sql", {"create table t(n integer);", "GO"});
    Start("");
    HWND main = MainWindow();
    ASSERT_NE(nullptr, main);
    SetWindowTextA(PanelControl(main, IDC_SNEDIT), "testdb");
    StartWithChosenScript("chosen.sql");
    *question = NextMessageBox();
    ASSERT_NE(nullptr, *question);
  }
  // Answers the confirmation with Yes, types the script's full name into the file
  // dialog that follows (no VELDAR.SQE lies beside the program) and opens it.
  void StartWithChosenScript(const std::string& script) {
    HWND main = MainWindow();
    ASSERT_NE(nullptr, main);
    HWND box = ClickStart(main);
    ASSERT_NE(nullptr, box);
    PressButton(box, IDYES);
    ASSERT_TRUE(WaitForWindowGone(box, 10000));
    ChooseInFileDialog(folder_ + script);
  }
  // The script's file dialog, which is to come next; null (a failure) if none came.
  HWND NextFileDialog() {
    HWND dialog = NextMessageBox();
    EXPECT_NE(nullptr, dialog) << "no file dialog";
    if (dialog) {
      EXPECT_EQ(Ansi(u8"请选择安装脚本"), WindowTitle(dialog));
    }
    return dialog;
  }
  // Types the file's full name into the script's file dialog, which is to come next,
  // and opens it.
  void ChooseInFileDialog(const std::string& file) {
    HWND dialog = NextFileDialog();
    ASSERT_NE(nullptr, dialog);
    HWND name = FindChild(dialog, "Edit");
    ASSERT_NE(nullptr, name);
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
    PressButton(dialog, IDOK);
    ASSERT_TRUE(WaitForWindowGone(dialog, 10000));
  }
  struct ChildSearch {
    const char* className;
    HWND found;
  };
  static BOOL CALLBACK MatchChild(HWND child, LPARAM parameter) {
    auto* search = reinterpret_cast<ChildSearch*>(parameter);
    char name[64];
    if (IsWindowVisible(child) && GetClassNameA(child, name, sizeof name) &&
        lstrcmpiA(name, search->className) == 0) {
      search->found = child;
      return FALSE;
    }
    return TRUE;
  }
  static HWND FindChild(HWND parent, const char* className) {
    ChildSearch search = {className, nullptr};
    EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }
  struct TitleSearch {
    const std::string* text;
    std::vector<HWND> found;
  };
  static BOOL CALLBACK MatchTitle(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<TitleSearch*>(parameter);
    if (IsWindowVisible(window) && WindowTitle(window).find(*search->text) != std::string::npos) {
      search->found.push_back(window);
    }
    return TRUE;
  }
  // Top-level windows whose title holds text, of any process of the prefix.
  static std::vector<HWND> WindowsTitled(const std::string& text) {
    TitleSearch search = {&text, {}};
    EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }
  void CloseNotepads() {
    for (HWND window : WindowsTitled("chosen.")) PostMessageA(window, WM_CLOSE, 0, 0);
  }
  // Presses and releases the keys in order and back, as the keyboard would.
  void Type(HWND main, std::vector<WORD> keys) {
    SetForegroundWindow(main);
    for (int i = 0; i < 100 && GetForegroundWindow() != main; ++i) Sleep(20);
    ASSERT_EQ(main, GetForegroundWindow());
    std::vector<INPUT> inputs;
    for (WORD key : keys) inputs.push_back(KeyInput(key, 0));
    for (auto key = keys.rbegin(); key != keys.rend(); ++key)
      inputs.push_back(KeyInput(*key, KEYEVENTF_KEYUP));
    ASSERT_EQ(inputs.size(), SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)));
    Sleep(300);
  }
  static INPUT KeyInput(WORD key, DWORD flags) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = flags;
    return input;
  }
};

}  // namespace veldar_test
