#include "veldar_run.h"

namespace veldar_test {

void VeldarRun::SetUp() {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  folder_ = MakeScratchFolder(std::string(info->test_suite_name()) + "." + info->name());
  const std::string tests = TestFolder();
  ASSERT_TRUE(CopyFileA((tests + "..\\VELDAR.exe").c_str(), (folder_ + "VELDAR.exe").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA((tests + "veldar_test_child.exe").c_str(), (folder_ + "child.exe").c_str(), FALSE));
}

void VeldarRun::WriteScript(const std::string& name, const std::vector<std::string>& lines) {
  const size_t folder = name.find_last_of('\\') + 1;
  ForgetOutput(name.substr(folder, name.rfind('.') - folder));
  ASSERT_TRUE(WriteWholeFile(folder_ + name, JoinLines(lines)));
}

void VeldarRun::Start(const std::string& arguments, const std::string& currentFolder, int show) {
  ASSERT_TRUE(process_.Start(folder_ + "VELDAR.exe", arguments,
                             currentFolder.empty() ? folder_ : currentFolder, show));
}

int VeldarRun::Finish(DWORD timeoutMs) {
  return process_.Wait(timeoutMs);
}

int VeldarRun::Run(const std::string& arguments) {
  Start(arguments);
  return Finish();
}

void VeldarRun::ForgetOutput(const std::string& base) const {
  for (const char* ext : {".LOG", ".ERR"}) {
    const std::string name = "C:\\" + base + ext;
    SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(name.c_str());
    RemoveDirectoryA(name.c_str());
  }
}

std::vector<std::string> VeldarRun::Rows(const std::string& query, const std::string& password) const {
  return QueryRunDatabase(folder_, "DRIVER={SQL Server};SERVER=testdb;UID=sa;PWD=" + password + ";", query);
}

HWND VeldarRun::NextMessageBox(DWORD timeoutMs) const {
  return WaitForWindow(process_.Id(), "#32770", timeoutMs);
}

std::string SettingsFile() {
  char system[MAX_PATH] = "";
  GetSystemDirectoryA(system, sizeof system);
  return std::string(system) + "\\QUORNAX.INI";
}

std::string SystemText(DWORD error) {
  char text[512] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text, sizeof text,
                 nullptr);
  std::string reason = text;
  while (!reason.empty() && (reason.back() == '\r' || reason.back() == '\n' || reason.back() == ' '))
    reason.pop_back();
  return reason;
}

::testing::AssertionResult LinesMatch(const std::string& actual, const std::vector<std::string>& expected) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < actual.size()) {
    const size_t end = actual.find("\r\n", start);
    if (end == std::string::npos) {
      return ::testing::AssertionFailure() << "last line without CR LF: \"" << actual.substr(start) << '"';
    }
    lines.push_back(actual.substr(start, end - start));
    start = end + 2;
  }
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
