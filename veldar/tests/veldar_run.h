// Fixtures that run VELDAR.exe from a scratch folder of its own, unattended or through
// its window: the program and the directive helper are copied there, the run's SQLite
// database file lands there, and the log and error files are read back from C:\.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_caller.h"
#include "test_files.h"
#include "test_process.h"
#include "test_text.h"
#include "test_windows.h"
#include "resources/resource.h"

namespace veldar_test {

using namespace test_support;
using Lines = std::vector<std::string>;

// Blocks and lines one after the other.
inline Lines operator+(Lines first, const Lines& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

// Fixed lines of the installer's output, in the ANSI code page.
struct OutputTexts {
  std::string heading = Ansi(u8"【安装脚本】");
  std::string separator = "... ...";
  std::string result = Ansi(u8"〖执行结果〗");
  std::string succeeded = Ansi(u8"命令已成功完成。");
  std::string programFailed = Ansi(u8"命令执行出错！");
  std::string noErrors = Ansi(u8"没有错误。");
  std::string zeroByte = Ansi(u8"该批处理含有零字节，没有执行。零字节之前的内容：");
  std::string backupFailed = Ansi(u8"备份文件没有复制，该批处理没有执行：");
  std::string cancelled = Ansi(u8"安装已被取消：以上是取消前已经执行的内容。");
  std::string notFinished = Ansi(u8"安装尚未结束：安装仍在进行，或者没有正常结束。");
  std::string connectFailed = Ansi(u8"SQL Server连接失败！");
  std::string readFailed = Ansi(u8"无法读取安装脚本：");
  std::string writeFailed = Ansi(u8"无法写入文件：");
  std::string caption = Ansi(u8"数据库服务器安装");

  // One block of the log or error file: the heading, the preview lines, the separator,
  // the result heading and the outcome.
  Lines Block(const Lines& preview, const std::string& outcome) const {
    return Lines{heading} + preview + Lines{separator, result, outcome};
  }
};

// Rows of a query against a copy of the SQLite database file of the connection string
// that a run made in folder (with its journal: a run that was killed leaves one).
Lines QueryRunDatabase(const std::string& folder, const std::string& connection, const std::string& query);

class VeldarRun : public ::testing::Test {
 protected:
  void SetUp() override;

  // Writes a script into the program's folder and removes the output of an earlier run.
  void WriteScript(const std::string& name, const Lines& lines, Caller caller = {});
  // Starts VELDAR.exe, in the scratch folder unless another is given.
  void Start(const std::string& arguments, const std::string& currentFolder = std::string(), int show = -1,
             Caller caller = {}) {
    CallerTrace trace(caller);
    ASSERT_TRUE(process_.Start(folder_ + "VELDAR.exe", arguments,
                               currentFolder.empty() ? folder_ : currentFolder, show));
  }
  // The started program's exit code, or -1 when it hangs.
  int Finish(DWORD timeoutMs = kTimeout) { return process_.Wait(timeoutMs); }
  int Run(const std::string& arguments);
  // Writes the script <name>.sql and runs it, against "testdb" unless the switches say otherwise.
  int RunScript(const std::string& name, const Lines& lines, const std::string& switches = "-Stestdb");

  // C:\<base>.LOG and C:\<base>.ERR of the run.
  std::string Log(const std::string& base) const { return ReadFileBytes("C:\\" + base + ".LOG"); }
  std::string Errors(const std::string& base) const { return ReadFileBytes("C:\\" + base + ".ERR"); }
  void ForgetOutput(const std::string& base) const;
  // Leaves C:\<base>.LOG and C:\<base>.ERR as an earlier run without errors would.
  void WriteEarlierRecord(const std::string& base, Caller caller = {}) const;

  // Rows of a query against the database of the server "testdb", login "sa".
  Lines Rows(const std::string& query, const std::string& password = "") const {
    return QueryRunDatabase(folder_, "DRIVER={SQL Server};SERVER=testdb;UID=sa;PWD=" + password + ";", query);
  }

  HWND NextMessageBox(DWORD timeoutMs = kTimeout) const {
    return WaitForWindowOf(process_.Id(), "#32770", timeoutMs);
  }
  // Reads the next message box and presses `button`; `shown` false when none came.
  BoxTexts AnswerBox(int button);

  OutputTexts text;
  std::string folder_;  // the program's folder, with a trailing backslash
  Process process_;
};

// The program of an execute directive ("child.exe wait"): it tells when it has started
// and ends when the test releases it, or when this object goes away.
class WaitingProgram {
 public:
  explicit WaitingProgram(const std::string& name);
  ~WaitingProgram();
  WaitingProgram(const WaitingProgram&) = delete;
  WaitingProgram& operator=(const WaitingProgram&) = delete;

  std::string Directive() const { return "--^E child.exe wait " + started_ + " " + release_; }
  bool Started(DWORD timeoutMs = kTimeout) const {
    return WaitForSingleObject(startedEvent_, timeoutMs) == WAIT_OBJECT_0;
  }
  void Release() { SetEvent(releaseEvent_); }

 private:
  std::string started_;
  std::string release_;
  HANDLE startedEvent_;
  HANDLE releaseEvent_;
};

// VELDAR.exe driven through its window: the form and its controls, its message boxes
// and file dialog, and keys typed into it.
class WindowRun : public VeldarRun {
 protected:
  void TearDown() override;

  // Starts the program and waits for its window, in main_; a failure when none comes.
  void StartWindow(const std::string& arguments = std::string(), Caller caller = {}) {
    CallerTrace trace(caller);
    Start(arguments);
    main_ = WaitForWindowOf(process_.Id(), "TMainForm");
    ASSERT_NE(nullptr, main_) << "no window";
  }
  // Starts a run whose script starts `program`, and waits for the window and that program.
  void StartRunUntil(const WaitingProgram& program, const std::string& arguments, Caller caller = {}) {
    CallerTrace trace(caller);
    ASSERT_NO_FATAL_FAILURE(StartWindow(arguments));
    ASSERT_TRUE(program.Started());
  }
  HWND PanelControl(int id) { return GetDlgItem(GetDlgItem(main_, IDC_PANEL1), id); }
  // Clicks the start button and answers the confirmation with `button`.
  BoxTexts ClickStart(int button);
  // Runs a one-batch script chosen in the file dialog against "testdb" and hands back
  // the final question.
  void RunChosenScriptToTheFinalQuestion(HWND* question, Caller caller = {});
  // Types the file's full name into the script's file dialog, which is to come next, and
  // opens it; cancels the dialog when `file` is empty.
  void ChooseInFileDialog(const std::string& file, Caller caller = {});
  void CancelFileDialog(Caller caller = {}) { ChooseInFileDialog(std::string(), caller); }
  // Types the keys into the window and gives it time to act on them.
  void Type(const std::vector<WORD>& keys, Caller caller = {});
  // Asks the window to close and expects the program to end with `exitCode`.
  void CloseExpecting(int exitCode, Caller caller = {});

  HWND main_ = nullptr;  // the program's window, once found
};

// QUORNAX.INI in the system folder, whose run list the -M switch edits.
std::string SettingsFile();
// The computer's name, the server that VELDAR proposes.
std::string ComputerName();
// The system's text for an error code without its line break, as a message names it.
std::string SystemText(DWORD error);

// Compares file text with lines that each end with CR LF. An expected line ending in
// "*" matches any line that starts with the text before it (for driver messages).
::testing::AssertionResult LinesMatch(const std::string& actual, const Lines& expected);

}  // namespace veldar_test
