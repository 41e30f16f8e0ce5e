// OpenDialog1: the file-open dialog that asks for the script when it is missing.
#pragma once

#include <windows.h>

#include <string>

struct TOpenDialog {
  std::string title;
  std::string defaultExt;
  std::string initialDir;
  // Label and pattern of each filter, all separated by "|".
  std::string filter;

  // Shows the dialog; true with the chosen file's full name, false when cancelled.
  bool Execute(HWND owner, std::string& fileName) const;
};
