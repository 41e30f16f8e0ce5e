#include "language/MessageText.h"

#include <windows.h>

#include "language/ExtResource.h"
#include "language/LanguageResources.h"

namespace {

constexpr int kRingSize = 8;
char messageRing[kRingSize][kMessageTextSize];
int ringPosition = 0;

}  // namespace

const char* GetMessageText(int number) {
  ringPosition = (ringPosition + 1) % kRingSize;
  char* buffer = messageRing[ringPosition];
  buffer[0] = '\0';
  // With a language file the keys are always made from the program's own texts, so the
  // library's string table is not consulted.
  if (languageResources.IsLoaded()) {
    LoadStringA(ExtResource::ownModule, number, buffer, kMessageTextSize);
  } else if (LoadStringA(ExtResource::currentModule, number, buffer, kMessageTextSize) == 0) {
    LoadStringA(ExtResource::ownModule, number, buffer, kMessageTextSize);
  }
  languageResources.Translate(buffer, buffer, kMessageTextSize);
  return buffer;
}
