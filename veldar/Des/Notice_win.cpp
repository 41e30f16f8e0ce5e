#include "Des/Notice.h"

#include <windows.h>

void ShowInformation(const char* text, const char* caption) {
  // Owned by the thread's active window, so that the box is modal to it.
  MessageBoxA(GetActiveWindow(), text, caption, MB_OK | MB_ICONINFORMATION);
}
