#include "test_windows.h"

#include <cstdio>

namespace test_support {

std::string ClassName(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string WindowText(HWND window) {
  char text[2048] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string ControlText(HWND control) {
  char text[2048] = "";
  SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

std::string ControlText(HWND dialog, int control) {
  return ControlText(GetDlgItem(dialog, control));
}

std::string MessageBoxText(HWND box) {
  return WindowText(GetDlgItem(box, 0xFFFF));
}

namespace {

struct WindowSearch {
  DWORD processId;
  const char* className;
  const std::function<bool(HWND)>* isWanted;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if ((search->processId != 0 && owner != search->processId) || ClassName(window) != search->className)
    return TRUE;
  if ((*search->isWanted && !(*search->isWanted)(window)) || !IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

BOOL CALLBACK MatchChild(HWND child, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  if (!IsWindowVisible(child) || lstrcmpiA(ClassName(child).c_str(), search->className) != 0) return TRUE;
  search->found = child;
  return FALSE;
}

struct TitleSearch {
  const std::string* text;
  std::vector<HWND> found;
};

BOOL CALLBACK MatchTitle(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<TitleSearch*>(parameter);
  if (IsWindowVisible(window) && WindowText(window).find(*search->text) != std::string::npos)
    search->found.push_back(window);
  return TRUE;
}

BOOL CALLBACK SeeControl(HWND control, LPARAM parameter) {
  auto* seen = reinterpret_cast<BoxTexts*>(parameter);
  if (!IsWindowVisible(control)) return TRUE;
  const std::string name = ClassName(control);
  if (lstrcmpiA(name.c_str(), "Button") == 0) seen->buttons.push_back(GetDlgCtrlID(control));
  // A box without an icon may keep its icon control, but with no icon in it.
  if (lstrcmpiA(name.c_str(), "Static") == 0 &&
      (GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
      SendMessageA(control, STM_GETICON, 0, 0) != 0)
    seen->icon = true;
  return TRUE;
}

INPUT KeyInput(WORD key, DWORD flags) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = flags;
  return input;
}

}  // namespace

HWND FindWindowOf(DWORD processId, const char* className, const std::function<bool(HWND)>& isWanted) {
  WindowSearch search{processId, className, &isWanted, nullptr};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForWindowOf(DWORD processId, const char* className, DWORD timeoutMs,
                     const std::function<bool(HWND)>& isWanted) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindWindowOf(processId, className, isWanted)) != nullptr; }, timeoutMs);
  return found;
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs) {
  return WaitUntil([window] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
}

std::vector<HWND> WindowsTitled(const std::string& text) {
  TitleSearch search{&text, {}};
  EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindChild(HWND parent, const char* className) {
  WindowSearch search{0, className, nullptr, nullptr};
  EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string DescribeDialogs(DWORD processId) {
  std::string text;
  FindWindowOf(processId, "#32770", [&text](HWND window) {
    char line[160];
    snprintf(line, sizeof line, "\n  window %p ex-style %08lx controls", static_cast<void*>(window),
             static_cast<unsigned long>(GetWindowLongA(window, GWL_EXSTYLE)));
    text += line;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
      text += " " + std::to_string(GetDlgCtrlID(child));
    return false;
  });
  return text;
}

bool IsChecked(HWND dialog, int control) {
  return SendDlgItemMessageA(dialog, control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool IsEnabled(HWND dialog, int control) {
  return IsWindowEnabled(GetDlgItem(dialog, control)) != FALSE;
}

void Click(HWND dialog, int control) {
  SendDlgItemMessageA(dialog, control, BM_CLICK, 0, 0);
}

void Press(HWND dialog, int control) {
  // A null window would post the click to this thread instead.
  if (HWND button = GetDlgItem(dialog, control)) PostMessageA(button, BM_CLICK, 0, 0);
}

void PressCloseBox(HWND window) {
  PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

bool TypeKeys(HWND window, const std::vector<WORD>& keys) {
  SetForegroundWindow(window);
  if (!WaitUntil([window] { return GetForegroundWindow() == window; }, 5000)) return false;
  std::vector<INPUT> inputs;
  for (WORD key : keys) inputs.push_back(KeyInput(key, 0));
  for (auto key = keys.rbegin(); key != keys.rend(); ++key) inputs.push_back(KeyInput(*key, KEYEVENTF_KEYUP));
  return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

BoxTexts ReadMessageBox(HWND box) {
  BoxTexts seen{true, WindowText(box), MessageBoxText(box), {}, false};
  EnumChildWindows(box, SeeControl, reinterpret_cast<LPARAM>(&seen));
  return seen;
}

std::vector<BoxTexts> AnswerMessageBoxes(const Process& process, const std::vector<int>& answers,
                                         DWORD timeoutMs) {
  std::vector<BoxTexts> boxes;
  for (int answer : answers) {
    HWND box = nullptr;
    WaitUntil([&] { return (box = FindWindowOf(process.Id(), "#32770")) != nullptr || process.HasExited(); },
              timeoutMs);
    if (box == nullptr) break;
    boxes.push_back(ReadMessageBox(box));
    Press(box, answer);
    WaitUntil([&] { return !IsWindow(box) || process.HasExited(); }, timeoutMs);
  }
  return boxes;
}

}  // namespace test_support
