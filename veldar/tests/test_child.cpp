// A program for execute directives in tests (a window program that shows no window, so
// that no console opens for it):
//   test_child record FILE ARGS...    writes ARGS joined by "|" to FILE
//   test_child where FILE             writes its own file name to FILE
//   test_child exit CODE              ends with CODE (259 looks like a running process)
//   test_child sleep MS               sleeps
//   test_child wait STARTED RELEASE   sets the named event STARTED, then waits up to a
//                                     minute for the named event RELEASE
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string mode = argv[1];
  if ((mode == "record" && argc >= 3) || (mode == "where" && argc == 3)) {
    char name[MAX_PATH];
    std::string text(name, mode == "where" ? GetModuleFileNameA(nullptr, name, sizeof name) : 0);
    for (int i = 3; i < argc; ++i) text += std::string(i > 3 ? "|" : "") + argv[i];
    FILE* file = std::fopen(argv[2], "wb");
    if (!file) return 3;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
    return 0;
  }
  if (mode == "exit" && argc == 3) ExitProcess(static_cast<UINT>(std::strtoul(argv[2], nullptr, 10)));
  if (mode == "sleep" && argc == 3) {
    Sleep(static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)));
    return 0;
  }
  if (mode == "wait" && argc == 4) {
    HANDLE started = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[2]);
    HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, argv[3]);
    if (!started || !release) return 4;
    SetEvent(started);
    return WaitForSingleObject(release, 60000) == WAIT_OBJECT_0 ? 0 : 5;
  }
  return 2;
}
