// How the cipher component tells its user something. On Windows this is a modal
// message box; where there is no window system it is a line on standard error.
#pragma once

using NoticeFunction = void (*)(const char* text, const char* caption);

// An information notice: the text, its caption, the information icon and one OK button.
void ShowInformation(const char* text, const char* caption);
