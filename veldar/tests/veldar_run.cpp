#include "veldar_run.h"

#include <algorithm>

#include "Des/ScriptFile.h"
#include "odbc_query.h"

namespace veldar_test {

void VeldarRun::SetUp() {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  folder_ = MakeScratchFolder(CurrentFolder(),
                              std::string("scratch-") + info->test_suite_name() + "." + info->name());
  const std::string tests = ProgramFolder();
  ASSERT_TRUE(CopyFileA((tests + "..\\VELDAR.exe").c_str(), (folder_ + "VELDAR.exe").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA((tests + "veldar_test_child.exe").c_str(), (folder_ + "child.exe").c_str(), FALSE));
}

void VeldarRun::WriteScript(const std::string& name, const Lines& lines, Caller caller) {
  CallerTrace trace(caller);
  const size_t folder = name.find_last_of('\\') + 1;
  ForgetOutput(name.substr(folder, name.rfind('.') - folder));
  ASSERT_TRUE(WriteFileBytes(folder_ + name, JoinLines(lines)));
}

int VeldarRun::Run(const std::string& arguments) {
  Start(arguments);
  return Finish();
}

int VeldarRun::RunScript(const std::string& name, const Lines& lines, const std::string& switches) {
  WriteScript(name + ".sql", lines);
  return Run("-F" + name + ".sql " + switches);
}

void VeldarRun::ForgetOutput(const std::string& base) const {
  for (const char* ext : {".LOG", ".ERR"}) {
    const std::string name = "C:\\" + base + ext;
    SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(name.c_str());
    RemoveDirectoryA(name.c_str());
  }
}

void VeldarRun::WriteEarlierRecord(const std::string& base, Caller caller) const {
  CallerTrace trace(caller);
  ASSERT_TRUE(WriteFileBytes("C:\\" + base + ".LOG", "earlier run\r\n"));
  ASSERT_TRUE(WriteFileBytes("C:\\" + base + ".ERR", text.noErrors + "\r\n"));
}

BoxTexts VeldarRun::AnswerBox(int button) {
  const std::vector<BoxTexts> boxes = AnswerMessageBoxes(process_, {button});
  return boxes.empty() ? BoxTexts() : boxes[0];
}

WaitingProgram::WaitingProgram(const std::string& name)
    : started_("veldar-test-" + name + "-started-" + std::to_string(GetCurrentProcessId())),
      release_("veldar-test-" + name + "-release-" + std::to_string(GetCurrentProcessId())),
      startedEvent_(CreateEventA(nullptr, TRUE, FALSE, started_.c_str())),
      releaseEvent_(CreateEventA(nullptr, TRUE, FALSE, release_.c_str())) {}

WaitingProgram::~WaitingProgram() {
  Release();
  CloseHandle(startedEvent_);
  CloseHandle(releaseEvent_);
}

void WindowRun::TearDown() {
  // The editors that the final question may have opened.
  for (HWND window : WindowsTitled("chosen.")) PostMessageA(window, WM_CLOSE, 0, 0);
}

BoxTexts WindowRun::ClickStart(int button) {
  PostMessageA(PanelControl(IDC_SETUPBTN), BM_CLICK, 0, 0);
  return AnswerBox(button);
}

void WindowRun::RunChosenScriptToTheFinalQuestion(HWND* question, Caller caller) {
  CallerTrace trace(caller);
  WriteScript("chosen.sql", {"create table t(n integer);", "GO"});
  ASSERT_NO_FATAL_FAILURE(StartWindow());
  SetWindowTextA(PanelControl(IDC_SNEDIT), "testdb");
  // No VELDAR.SQE lies beside the program: the file dialog follows the confirmation.
  ASSERT_TRUE(ClickStart(IDYES).shown);
  ChooseInFileDialog(folder_ + "chosen.sql");
  *question = NextMessageBox();
  ASSERT_NE(nullptr, *question);
}

void WindowRun::ChooseInFileDialog(const std::string& file, Caller caller) {
  CallerTrace trace(caller);
  HWND dialog = NextMessageBox();
  ASSERT_EQ(Ansi(u8"请选择安装脚本"), dialog ? WindowText(dialog) : "<no file dialog>");
  if (!file.empty()) {
    HWND name = FindChild(dialog, "Edit");
    ASSERT_NE(nullptr, name);
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
  }
  Press(dialog, file.empty() ? IDCANCEL : IDOK);
  ASSERT_TRUE(WaitForWindowGone(dialog));
}

void WindowRun::Type(const std::vector<WORD>& keys, Caller caller) {
  CallerTrace trace(caller);
  ASSERT_TRUE(TypeKeys(main_, keys));
  Sleep(300);
}

void WindowRun::CloseExpecting(int exitCode, Caller caller) {
  CallerTrace trace(caller);
  PostMessageA(main_, WM_CLOSE, 0, 0);
  EXPECT_EQ(exitCode, Finish());
}

Lines QueryRunDatabase(const std::string& folder, const std::string& connection, const std::string& query) {
  // The run's file is named like its connection string; the copy gets a name that a
  // connection string can carry. Relative names start at this process's folder.
  const std::string copy = folder + "inspect.sqlite";
  if (!CopyFileA((folder + connection).c_str(), copy.c_str(), FALSE)) return {"<no database file>"};
  DeleteFileA((copy + "-journal").c_str());
  CopyFileA((folder + connection + "-journal").c_str(), (copy + "-journal").c_str(), FALSE);
  std::string relative = copy.substr(CurrentFolder().size() + 1);
  std::replace(relative.begin(), relative.end(), '\\', '/');
  return QueryRows("DRIVER={SQL Server};Database=" + relative + ";", query);
}

std::string SettingsFile() {
  char system[MAX_PATH] = "";
  GetSystemDirectoryA(system, sizeof system);
  return std::string(system) + "\\QUORNAX.INI";
}

std::string ComputerName() {
  char computer[MAX_COMPUTERNAME_LENGTH + 1];
  DWORD size = sizeof computer;
  return GetComputerNameA(computer, &size) ? computer : "<no computer name>";
}

std::string SystemText(DWORD error) {
  char text[512] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                 sizeof text, nullptr);
  std::string reason = text;
  return reason.erase(reason.find_last_not_of("\r\n ") + 1);
}

::testing::AssertionResult LinesMatch(const std::string& actual, const std::vector<std::string>& expected) {
  const std::vector<std::string> lines = LinesOf(actual);
  if (JoinLines(lines) != actual)
    return ::testing::AssertionFailure() << "a line without CR LF in:\n" << actual;
  for (size_t i = 0; i < std::max(lines.size(), expected.size()); ++i) {
    const std::string want = i < expected.size() ? expected[i] : "<none>";
    const std::string got = i < lines.size() ? lines[i] : "<none>";
    const bool prefix = !want.empty() && want.back() == '*';
    const bool same = prefix ? got.compare(0, want.size() - 1, want, 0, want.size() - 1) == 0 : got == want;
    if (!same) {
      return ::testing::AssertionFailure()
             << "line " << i + 1 << ": expected \"" << want << "\", got \"" << got << "\"\nwhole text:\n"
             << actual;
    }
  }
  return ::testing::AssertionSuccess();
}

}  // namespace veldar_test
