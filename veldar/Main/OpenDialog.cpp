#include "Main/OpenDialog.h"

#include <commdlg.h>

#include <vector>

#include "Base/SystemLibrary.h"
#include "Core/FileNames.h"

namespace {

// "a|b|c" becomes "a\0b\0c\0\0". A "|" can be the second byte of a double-byte
// character, so whole characters are stepped over.
std::vector<char> FilterList(const std::string& filter) {
  std::vector<char> list;
  for (size_t i = 0; i < filter.size(); ++i) {
    const char c = filter[i];
    if (IsAnsiLeadByte(static_cast<unsigned char>(c)) && i + 1 < filter.size()) {
      list.push_back(c);
      list.push_back(filter[++i]);
      continue;
    }
    list.push_back(c == '|' ? '\0' : c);
  }
  list.push_back('\0');
  list.push_back('\0');
  return list;
}

}  // namespace

bool TOpenDialog::Execute(HWND owner, std::string& fileName) const {
  const std::vector<char> filters = FilterList(filter);
  // Longer names than the buffer makes the dialog fail, which counts as a cancel.
  char file[1024] = "";
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filters.data();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file;
  dialog.nMaxFile = sizeof file;
  dialog.lpstrInitialDir = initialDir.c_str();
  dialog.lpstrTitle = title.c_str();
  dialog.lpstrDefExt = defaultExt.c_str();
  dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_ENABLESIZING | OFN_EXPLORER;
  // The dialog's library and those it brings are loaded only when a script must be
  // chosen: an unattended run never asks, and loading them costs every start.
  using GetOpenFileNameCall = BOOL(WINAPI*)(OPENFILENAMEA*);
  GetOpenFileNameCall getOpenFileName = nullptr;
  HMODULE dialogs = LoadSystemLibrary("comdlg32.dll");
  if (!dialogs || !FindFunction(dialogs, "GetOpenFileNameA", getOpenFileName)) return false;
  if (!getOpenFileName(&dialog)) return false;
  fileName = file;
  return true;
}
