// Program block of the installer: initialise, create the one window, run the message
// loop, end with the run's exit code.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "Main/MainForm.h"

namespace {

// The program often runs elevated from a folder others can write to: libraries come
// from the system folder only, never from the program's or the current folder. Both
// calls are looked up at run time: SetDllDirectoryA came with Windows XP SP1 and
// SetDefaultDllDirectories with Windows 8 (and an update of 7 and Vista), so Windows
// 2000 and XP before SP1 have neither; there, odbc32.dll is loaded by its full path anyway.
void RestrictLibrarySearch() {
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (!kernel) return;
  using SetDefaultDllDirectoriesCall = BOOL(WINAPI*)(DWORD);
  using SetDllDirectoryCall = BOOL(WINAPI*)(LPCSTR);
  auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesCall>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  auto setDirectory =
      reinterpret_cast<SetDllDirectoryCall>(reinterpret_cast<void*>(GetProcAddress(kernel, "SetDllDirectoryA")));
  if (setDirectory) setDirectory("");
}

std::string ToAnsi(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return std::string();
  std::string converted(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, &converted[0], size, nullptr, nullptr);
  converted.resize(static_cast<size_t>(size) - 1);
  return converted;
}

// The arguments after the program name, split by the system's rules for quotes.
std::vector<std::string> CommandArguments() {
  std::vector<std::string> arguments;
  int count = 0;
  LPWSTR* split = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!split) return arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(ToAnsi(split[i]));
  LocalFree(split);
  return arguments;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  RestrictLibrarySearch();
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_ANIMATE_CLASS | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);

  TMainForm form(instance, CommandArguments());
  if (!form.Create()) return form.ExitCode();
  form.Show(show);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) form.DispatchFormMessage(message);
  // The window goes with the process: the system takes it down at once, where
  // destroying it control by control first would hold up the end of every run.
  ExitProcess(static_cast<UINT>(form.ExitCode()));
}
