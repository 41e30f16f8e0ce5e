// The windows of programs under test, seen from the test's process: found by process,
// class and contents, read, and operated as a user would (button clicks, keys typed
// through the system's input).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "test_process.h"

namespace test_support {

std::string ClassName(HWND window);
// A window's title as the system keeps it.
std::string WindowText(HWND window);
// A control's text, asked of the control itself (also across processes).
std::string ControlText(HWND control);
std::string ControlText(HWND dialog, int control);
// The text of a message box (its static control 65535).
std::string MessageBoxText(HWND box);

// The first visible top-level window of `processId` (0: of any process) whose class is
// `className` and for which `isWanted` holds. Visibility is looked at last: a dialog
// that is closing is hidden before its controls go, so a window still visible after
// `isWanted` looked at its controls had them all.
HWND FindWindowOf(DWORD processId, const char* className,
                  const std::function<bool(HWND)>& isWanted = nullptr);
// The same, waiting up to `timeoutMs` for it (handling this thread's messages); null
// when none came.
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
// Clicks a check box or a button that neither opens nor ends a dialog, and returns
// when the dialog has handled the click.
void Click(HWND dialog, int control);
// Presses a button and returns at once (for buttons that open or end a dialog, and for
// message boxes: IDOK, IDYES, IDNO, ...).
void Press(HWND dialog, int control);
// The close box of the title bar.
void PressCloseBox(HWND window);
// Brings `window` to the front, then presses the keys in order and releases them in
// reverse order, as the keyboard would (a chord such as Ctrl+Alt+F4 or a single key).
// False when the window did not come to the front or the input was not taken.
bool TypeKeys(HWND window, const std::vector<WORD>& keys);

// What a message box showed; `shown` false when none appeared.
struct BoxTexts {
  bool shown = false;
  std::string caption;
  std::string text;
};
BoxTexts ReadMessageBox(HWND box);
// For each of `answers` (IDOK, IDYES, ...) in turn: waits for the next message box of
// the process, reads it and presses that button. Stops early when the process ends or
// no box comes. Returns the boxes read.
std::vector<BoxTexts> AnswerMessageBoxes(const Process& process, const std::vector<int>& answers,
                                         DWORD timeoutMs = kTimeout);

}  // namespace test_support
