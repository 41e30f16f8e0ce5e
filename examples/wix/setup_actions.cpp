// Custom actions of the example Windows Installer package (setup.wxs). Each one starts a
// program of the installation folder, waits for it and turns what it did into the
// installation's result, with a message that the installer shows (or logs, with /qn).
//
// Build it with the compiler of the package's bitness, for example
//   x86_64-w64-mingw32-g++ -shared -static -O2 -o setup_actions.dll setup_actions.cpp -lmsi
// (for 32-bit packages i686-w64-mingw32-g++, with -Wl,--kill-at added, so that the names
// are exported as the installer looks them up).
//
// Every action is deferred: its only input is the property CustomActionData, which
// setup.wxs sets to "<installation folder>|<arguments>" (the folder ends with "\").
#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <string>

namespace {

constexpr DWORD kNotStarted = 0xFFFFFFFF;
// How long the archiver's uninstall may take to delete itself after it ended.
constexpr DWORD kSelfRemovalMilliseconds = 30000;

// What VELDAR's exit code tells the person installing (the codes of veldar/Main/ExitCodes.h).
std::string VeldarFailure(DWORD code) {
  switch (code) {
    case 1:
      return "The database script failed: a batch, or a program that it starts, ended with an error. "
             "VELDAR's error file (C:\\ and the script's name with .ERR) says which.";
    case 2:
      return "VELDAR could not connect to the database server. Check the server, the login and the password.";
    case 3:
      return "The database installation was cancelled before it ended.";
    case 4:
      return "VELDAR could not read its script, or could not write its log or error file in C:\\.";
    case kNotStarted:
      return "VELDAR.exe could not be started.";
    default:
      return "VELDAR ended with the unknown exit code " + std::to_string(code) + ".";
  }
}

struct ActionData {
  std::string folder;
  std::string arguments;
};

ActionData ReadActionData(MSIHANDLE install) {
  // Asked with no room first, the installer tells the length of the value.
  char none[1] = "";
  DWORD size = 0;
  std::string data;
  if (MsiGetPropertyA(install, "CustomActionData", none, &size) == ERROR_MORE_DATA) {
    data.resize(++size);
    if (MsiGetPropertyA(install, "CustomActionData", &data[0], &size) != ERROR_SUCCESS) size = 0;
    data.resize(size);
  }
  const size_t bar = data.find('|');
  if (bar == std::string::npos) return {data, ""};
  return {data.substr(0, bar), data.substr(bar + 1)};
}

void ShowError(MSIHANDLE install, const std::string& text) {
  PMSIHANDLE record = MsiCreateRecord(0);
  MsiRecordSetStringA(record, 0, text.c_str());
  MsiProcessMessage(install, INSTALLMESSAGE(INSTALLMESSAGE_ERROR | MB_OK | MB_ICONERROR), record);
}

// Starts `program` of `folder` with `arguments`, in that folder and with the show command
// `show`, and waits for it: its exit code, or kNotStarted.
DWORD Run(const std::string& folder, const char* program, const std::string& arguments, WORD show) {
  // Quoted and with its full path: the installation folder may hold blanks, and nothing
  // may be found along another path.
  std::string commandLine = "\"" + folder + program + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = show;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                      &process))
    return kNotStarted;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = kNotStarted;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

// Runs the database script: VELDAR.exe with the arguments (its switches), hidden, as
// setup packages start their helpers. Any exit code but 0 fails the installation, which
// the installer then rolls back.
extern "C" __declspec(dllexport) UINT __stdcall RunVeldar(MSIHANDLE install) {
  const ActionData data = ReadActionData(install);
  const DWORD code = Run(data.folder, "VELDAR.exe", data.arguments, SW_HIDE);
  if (code == 0) return ERROR_SUCCESS;
  ShowError(install, VeldarFailure(code));
  return ERROR_INSTALL_FAILURE;
}

// Applies the archiver's stored or default setup choices without a dialog: uninstall.exe
// /setup /s, started in the installation folder as the archiver's installer starts it.
extern "C" __declspec(dllexport) UINT __stdcall ApplySetup(MSIHANDLE install) {
  const ActionData data = ReadActionData(install);
  if (Run(data.folder, "uninstall.exe", "/setup /s", SW_HIDE) != kNotStarted) return ERROR_SUCCESS;
  ShowError(install, "The archiver's setup (uninstall.exe /setup /s) could not be started.");
  return ERROR_INSTALL_FAILURE;
}

// The archiver's uninstall, started as its own entry in the list of programs starts it:
// it asks the user, removes the archiver's registration and the files its list names,
// and leaves a batch that deletes uninstall.exe and the folder once it has ended.
extern "C" __declspec(dllexport) UINT __stdcall RemoveArchiver(MSIHANDLE install) {
  const ActionData data = ReadActionData(install);
  const std::string program = data.folder + "uninstall.exe";
  // Gone already: the archiver was removed by hand.
  if (!Exists(program)) return ERROR_SUCCESS;
  if (Run(data.folder, "uninstall.exe", "", SW_SHOWNORMAL) == kNotStarted) {
    ShowError(install, "The archiver's uninstall (uninstall.exe) could not be started.");
    return ERROR_INSTALL_FAILURE;
  }
  // The uninstall deletes its list last; a list still there means that the user said No
  // (or that nothing could be done), and the package stays as it is.
  if (Exists(data.folder + "Uninstall.lst")) return ERROR_INSTALL_USEREXIT;
  // The batch runs uninstall.exe once more while the first one ends: the installer must
  // not find the program running when it removes the files.
  for (DWORD waited = 0; Exists(program) && waited < kSelfRemovalMilliseconds; waited += 100) Sleep(100);
  return ERROR_SUCCESS;
}
