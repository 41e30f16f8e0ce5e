#pragma once
// The kinds of message a thread's queue can hold, as every Windows the program serves
// knows them. The headers' QS_ALLINPUT also holds QS_RAWINPUT (Windows XP and later),
// which Windows 2000 rejects: its MsgWaitForMultipleObjectsEx would fail at once, and
// the wait for a directive's program would end before the program does.

#include <windows.h>

constexpr UINT kAnyQueuedMessage = QS_KEY | QS_MOUSEMOVE | QS_MOUSEBUTTON | QS_POSTMESSAGE | QS_TIMER |
                                   QS_PAINT | QS_SENDMESSAGE | QS_HOTKEY;
