#include "Main/OutputMemo.h"

void OutputMemo::AddLine(const std::string& line) {
  lines_.push_back(line);
  changed_ = true;
}

void OutputMemo::Clear() {
  lines_.clear();
  changed_ = true;
}

void OutputMemo::Refresh() {
  if (!changed_ || !control_) return;
  std::string text;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines_[i];
  }
  SetWindowTextA(control_, text.c_str());
  // Keep the newest lines in view.
  SendMessageA(control_, EM_SETSEL, text.size(), text.size());
  SendMessageA(control_, EM_SCROLLCARET, 0, 0);
  changed_ = false;
}
