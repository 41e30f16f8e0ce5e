// Stands in for the command interpreter that COMSPEC names: writes its command line,
// current directory and start-up settings to the file REMOVAL_RECORD names, and the batch
// file after "/c" to that name with ".bat" added; then runs the interpreter that
// REMOVAL_FORWARD names, if any, with the same arguments and ends with its exit code.
#include <windows.h>

#include <cstdio>
#include <string>

#include "test_files.h"
#include "test_process.h"

using namespace test_support;

namespace {

std::string BatchPath(const std::string& arguments) {
  size_t start = arguments.find("/c \"");
  if (start == std::string::npos) return "";
  start += 4;
  size_t end = arguments.find('"', start);
  return end == std::string::npos ? "" : arguments.substr(start, end - start);
}

// The batch copy comes first and the record appears whole under its name at the end,
// so that a test that sees the record may read both.
void Record(const std::string& record, const std::string& commandLine) {
  CopyFileA(BatchPath(ArgumentsOf(commandLine)).c_str(), (record + ".bat").c_str(), FALSE);
  STARTUPINFOA startup;
  GetStartupInfoA(&startup);
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  const std::string partial = record + ".part";
  FILE* file = fopen(partial.c_str(), "wb");
  if (file == nullptr) return;
  fprintf(file, "command=%s\ndirectory=%s\nflags=%lu\nshow=%u\nstdout=%lu\nconsole=%d\n", commandLine.c_str(),
          CurrentFolder().c_str(), startup.dwFlags, startup.wShowWindow,
          output == nullptr || output == INVALID_HANDLE_VALUE ? 0ul : GetFileType(output),
          GetConsoleWindow() != nullptr ? 1 : 0);
  fclose(file);
  MoveFileExA(partial.c_str(), record.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

int main() {
  std::string commandLine = GetCommandLineA();
  std::string record = EnvironmentValue("REMOVAL_RECORD");
  if (!record.empty()) Record(record, commandLine);

  std::string interpreter = EnvironmentValue("REMOVAL_FORWARD");
  if (interpreter.empty()) return 0;
  std::string forward = "\"" + interpreter + "\" " + ArgumentsOf(commandLine);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &forward[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                      &startup, &process))
    return 1;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
}
