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

using Visitor = std::function<bool(HWND)>;

BOOL CALLBACK Visit(HWND window, LPARAM visitor) {
  return (*reinterpret_cast<const Visitor*>(visitor))(window);
}

// Hands the children of `parent` (null: the top-level windows) to `visit` until it returns false.
void ForEachWindow(HWND parent, const Visitor& visit) {
  const LPARAM visitor = reinterpret_cast<LPARAM>(&visit);
  parent ? EnumChildWindows(parent, Visit, visitor) : EnumWindows(Visit, visitor);
}

bool HasClass(HWND window, const char* className) {
  return lstrcmpiA(ClassName(window).c_str(), className) == 0;
}

}  // namespace

HWND FindWindowOf(DWORD processId, const char* className, const std::function<bool(HWND)>& isWanted) {
  HWND found = nullptr;
  ForEachWindow(nullptr, [&](HWND window) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if ((processId != 0 && owner != processId) || ClassName(window) != className) return true;
    if ((isWanted && !isWanted(window)) || !IsWindowVisible(window)) return true;
    found = window;
    return false;
  });
  return found;
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
  std::vector<HWND> found;
  ForEachWindow(nullptr, [&](HWND window) {
    if (IsWindowVisible(window) && WindowText(window).find(text) != std::string::npos)
      found.push_back(window);
    return true;
  });
  return found;
}

HWND FindChild(HWND parent, const char* className) {
  HWND found = nullptr;
  ForEachWindow(parent, [&](HWND child) {
    if (IsWindowVisible(child) && HasClass(child, className)) found = child;
    return found == nullptr;
  });
  return found;
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
  // The keys go down in their order and come up in the reverse order.
  std::vector<INPUT> inputs(2 * keys.size(), INPUT{INPUT_KEYBOARD, {}});
  for (size_t i = 0; i < keys.size(); ++i) {
    inputs[i].ki = {keys[i], 0, 0, 0, 0};
    inputs[inputs.size() - 1 - i].ki = {keys[i], 0, KEYEVENTF_KEYUP, 0, 0};
  }
  return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

BoxTexts ReadMessageBox(HWND box) {
  BoxTexts seen{true, WindowText(box), MessageBoxText(box), {}, false};
  ForEachWindow(box, [&seen](HWND control) {
    if (!IsWindowVisible(control)) return true;
    if (HasClass(control, "Button")) seen.buttons.push_back(GetDlgCtrlID(control));
    // A box without an icon may keep its icon control, but with no icon in it.
    if (HasClass(control, "Static") && (GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
        SendMessageA(control, STM_GETICON, 0, 0) != 0)
      seen.icon = true;
    return true;
  });
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
