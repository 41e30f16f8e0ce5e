#include "setup/FinalNotice.h"

#include <windows.h>

#include "base/TextHelpers.h"
#include "language/MessageText.h"
#include "resources/resource.h"

void ComposeFinalNotice(const char* programPath, char* text, size_t capacity) {
  char deleteByHand[kPathSize + kMessageTextSize];
  SubstituteText(deleteByHand, sizeof deleteByHand, GetMessageText(IDS_DELETE_BY_HAND), programPath);
  FormatText(text, capacity, "%s\n%s", GetMessageText(IDS_UNINSTALL_DONE), deleteByHand);
}

void ShowFinalNotice() {
  char programPath[kPathSize];
  DWORD length = GetModuleFileNameA(nullptr, programPath, sizeof programPath);
  if (length >= sizeof programPath) length = 0;
  programPath[length] = '\0';
  char text[kPathSize + 2 * kMessageTextSize];
  ComposeFinalNotice(programPath, text, sizeof text);
  MessageBoxA(nullptr, text, GetMessageText(IDS_UNINSTALL_CAPTION), MB_SETFOREGROUND | MB_ICONINFORMATION);
}
