// The windows of programs under test, found, read and operated as a user would.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "test_process.h"

namespace test_support {

std::string ClassName(HWND window);
std::string WindowText(HWND window);
// A control's text, asked of the control itself (also across processes).
std::string ControlText(HWND control);
std::string ControlText(HWND dialog, int control);
std::string MessageBoxText(HWND box);

// The first visible top-level window of `processId` (0: of any process) whose class is
// `className` and for which `isWanted` holds. Visibility is looked at last: a dialog
// that is closing is hidden before its controls go, so a window still visible after
// `isWanted` looked at its controls had them all.
HWND FindWindowOf(DWORD processId, const char* className,
                  const std::function<bool(HWND)>& isWanted = nullptr);
// The same, waiting up to `timeoutMs` for it; null when none came.
HWND WaitForWindowOf(DWORD processId, const char* className, DWORD timeoutMs = kTimeout,
                     const std::function<bool(HWND)>& isWanted = nullptr);
// Waits until the window is gone or hidden.
bool WaitForWindowGone(HWND window, DWORD timeoutMs = kTimeout);
// Visible top-level windows of any process whose title holds `text`.
std::vector<HWND> WindowsTitled(const std::string& text);
// The first visible child window of `parent` of the class `className` (any letter case).
HWND FindChild(HWND parent, const char* className);
// The visible dialogs of the process with their extended styles and control numbers,
// for failure messages.
std::string DescribeDialogs(DWORD processId);

bool IsChecked(HWND dialog, int control);
bool IsEnabled(HWND dialog, int control);
// Clicks a button that neither opens nor ends a dialog; returns once it is handled.
void Click(HWND dialog, int control);
// Presses a button and returns at once (buttons that open or end a dialog, message boxes).
void Press(HWND dialog, int control);
// The close box of the title bar.
void PressCloseBox(HWND window);
// Brings `window` to the front and types the keys as one chord (Ctrl+Alt+F4, or a single
// key); false when the window did not come to the front or the input was not taken.
bool TypeKeys(HWND window, const std::vector<WORD>& keys);

// A message box as the user sees it: caption, text, visible buttons and whether an icon
// shows; `shown` false when none appeared.
struct BoxTexts {
  bool shown = false;
  std::string caption;
  std::string text;
  std::vector<int> buttons;
  bool icon = false;
};
BoxTexts ReadMessageBox(HWND box);
// For each of `answers` (IDOK, ...): reads the process's next message box and presses
// that button. Stops early when the process ends or no box comes.
std::vector<BoxTexts> AnswerMessageBoxes(const Process& process, const std::vector<int>& answers,
                                         DWORD timeoutMs = kTimeout);

}  // namespace test_support
