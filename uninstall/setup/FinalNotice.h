// The notice that the uninstall has finished and the program file must be deleted by
// hand ("/warning", started by the self-removal batch file when the file stayed).
#pragma once

#include <cstddef>

// The notice's text for the program's path: message 5105, a line feed, message 5106
// with the path.
void ComposeFinalNotice(const char* programPath, char* text, size_t capacity);
void ShowFinalNotice();
