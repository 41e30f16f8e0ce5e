#include "Main/OutputMemo.h"

void OutputMemo::AddLine(const std::string& line) {
  // A line of an earlier block lends its memory: most blocks hold lines of the same
  // lengths, so a run of many batches allocates nothing here after the first ones.
  if (spare_.empty()) {
    lines_.push_back(line);
  } else {
    lines_.push_back(std::move(spare_.back()));
    spare_.pop_back();
    lines_.back().assign(line);
  }
  changed_ = true;
}

void OutputMemo::Clear() {
  for (std::string& line : lines_) spare_.push_back(std::move(line));
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
