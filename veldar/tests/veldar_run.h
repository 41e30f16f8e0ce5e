// A test fixture that runs VELDAR.exe from a scratch folder of its own: the program
// and the directive helper are copied there, the run's SQLite database file lands
// there, and the log and error files are read back from C:\.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace veldar_test {

// Fixed lines of the installer's output, in the ANSI code page.
struct OutputTexts {
  std::string heading = Ansi(u8"【安装脚本】");
  std::string separator = "... ...";
  std::string result = Ansi(u8"〖执行结果〗");
  std::string succeeded = Ansi(u8"命令已成功完成。");
  std::string programFailed = Ansi(u8"命令执行出错！");
  std::string noErrors = Ansi(u8"没有错误。");
  std::string zeroByte = Ansi(u8"该批处理含有零字节，没有执行。零字节之前的内容：");
  std::string cancelled = Ansi(u8"安装已被取消：以上是取消前已经执行的内容。");
  std::string caption = Ansi(u8"数据库服务器安装");
};

class VeldarRun : public ::testing::Test {
 protected:
  void SetUp() override;

  // Writes a script (lines joined with CR LF) into the program's folder, and removes the
  // log and error files that an earlier run of a script of that name left in C:\.
  void WriteScript(const std::string& name, const std::vector<std::string>& lines);
  // Starts VELDAR.exe with the arguments, in the scratch folder unless another is given,
  // with the show command given (none: -1).
  void Start(const std::string& arguments, const std::string& currentFolder = std::string(), int show = -1);
  // Waits for the started program; its exit code, or -1 when it hangs.
  int Finish(DWORD timeoutMs = 30000);
  // Start and Finish.
  int Run(const std::string& arguments);

  // C:\<base>.LOG and C:\<base>.ERR of the run.
  std::string Log(const std::string& base) const { return ReadWholeFile("C:\\" + base + ".LOG"); }
  std::string Errors(const std::string& base) const { return ReadWholeFile("C:\\" + base + ".ERR"); }
  // Removes earlier output files of this name.
  void ForgetOutput(const std::string& base) const;

  // Rows of a query against the database of the server "testdb" with login "sa" and
  // the password given.
  std::vector<std::string> Rows(const std::string& query, const std::string& password = "") const;

  // The message box (or dialog) the program shows next, or null.
  HWND NextMessageBox(DWORD timeoutMs = 15000) const;

  OutputTexts text;
  std::string folder_;  // the program's folder, with a trailing backslash
  Process process_;
};

// QUORNAX.INI in the system folder, whose run list the -M switch edits.
std::string SettingsFile();
// The system's text for an error code without its line break, as a message names it.
std::string SystemText(DWORD error);

// Compares file text with lines that each end with CR LF. An expected line ending in
// "*" matches any line that starts with the text before it (for driver messages).
::testing::AssertionResult LinesMatch(const std::string& actual, const std::vector<std::string>& expected);

}  // namespace veldar_test
