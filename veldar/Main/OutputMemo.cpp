#include "Main/OutputMemo.h"

namespace {

constexpr DWORD kRefreshIntervalMs = 40;

}  // namespace

void OutputMemo::AddLine(const std::string& line) {
  lines_.push_back(line);
  changed_ = true;
}

void OutputMemo::Clear() {
  lines_.clear();
  changed_ = true;
}

void OutputMemo::Refresh(bool force) {
  if (!changed_ || !control_) return;
  const DWORD now = GetTickCount();
  if (!force && now - lastRefresh_ < kRefreshIntervalMs) return;
  std::string text;
  for (const std::string& line : lines_) text += line + "\r\n";
  SetWindowTextA(control_, text.c_str());
  // Keep the newest lines in view.
  SendMessageA(control_, EM_SETSEL, text.size(), text.size());
  SendMessageA(control_, EM_SCROLLCARET, 0, 0);
  changed_ = false;
  lastRefresh_ = now;
}
