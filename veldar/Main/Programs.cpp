#include "Main/Programs.h"

#include <windows.h>

#include <vector>

#include "Base/FileAccess.h"
#include "Base/Handle.h"
#include "Core/ProgramSearch.h"
#include "Main/MessageQueue.h"
#include "Main/SystemSettings.h"

namespace {

bool StartProcess(const char* application, const std::string& commandLine, bool inheritHandles,
                  PROCESS_INFORMATION& info) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  // CreateProcessA may write into the command line, so it gets its own buffer.
  std::vector<char> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back('\0');
  return CreateProcessA(application, buffer.data(), nullptr, nullptr, inheritHandles, NORMAL_PRIORITY_CLASS,
                        nullptr, nullptr, &startup, &info) != FALSE;
}

// The program's file, so that the system need not search for it (its search looks in
// the current folder right after the program's own); empty when it is nowhere.
std::string FindDirectiveProgram(const std::string& commandLine) {
  ProgramFolders folders;
  folders.program = ExtractFilePath(ProgramFileName(), IsAnsiLeadByte);
  folders.system = SystemFolder();
  folders.windows = WindowsFolder();
  if (!folders.windows.empty()) folders.system16 = PathInFolder(folders.windows, "System", IsAnsiLeadByte);
  folders.path = EnvironmentValue("PATH");
  const auto isFile = [](const std::string& name) { return FileExists(name); };
  return FindProgram(commandLine, folders, isFile, IsAnsiLeadByte);
}

}  // namespace

bool RunProgramAndWait(const std::string& commandLine, const std::string& parameters,
                       const std::function<void()>& processMessages) {
  // A program found nowhere cannot start, like one whose file does not exist.
  const std::string program = FindDirectiveProgram(commandLine);
  if (program.empty()) return false;
  std::string command = commandLine;
  if (!parameters.empty()) command += " " + parameters;
  PROCESS_INFORMATION info = {};
  // The command line still goes as written.
  if (!StartProcess(program.c_str(), command, true, info)) return false;
  KernelHandle process(info.hProcess);
  KernelHandle thread(info.hThread);
  const HANDLE waitFor = process.Get();
  for (;;) {
    const DWORD woken = MsgWaitForMultipleObjectsEx(1, &waitFor, INFINITE, kAnyQueuedMessage, MWMO_INPUTAVAILABLE);
    if (woken != WAIT_OBJECT_0 + 1) break;  // ended (or the wait itself failed: never spin)
    processMessages();
  }
  return true;
}

bool StartNotepad(const std::string& file) {
  const std::string folder = SystemFolder();
  if (folder.empty()) return false;
  const std::string notepad = folder + "\\notepad.exe";
  PROCESS_INFORMATION info = {};
  if (!StartProcess(notepad.c_str(), "Notepad.exe " + file, false, info)) return false;
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return true;
}
