// Memo1: the live output of a run, one block of lines at a time. The lines are kept
// here; the control is brought up to date only when the window asks (a few times a
// second while it can be seen), so a run of many short batches is not slowed down by
// drawing text nobody could read at that speed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class OutputMemo {
 public:
  void Attach(HWND control) { control_ = control; }
  HWND Window() const { return control_; }

  void AddLine(const std::string& line);
  void Clear();
  const std::vector<std::string>& Lines() const { return lines_; }

  // Shows the current lines if they changed since they were last shown.
  void Refresh();

 private:
  HWND control_ = nullptr;
  std::vector<std::string> lines_;
  // Emptied lines of earlier blocks, kept for their memory.
  std::vector<std::string> spare_;
  bool changed_ = false;
};
