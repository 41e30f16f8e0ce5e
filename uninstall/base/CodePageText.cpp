#include "base/CodePageText.h"

#include <windows.h>

namespace {

// The text's UTF-16 form, with a flag that older systems may not know and then without it.
bool Widen(UINT codePage, const char* text, std::wstring* wide) {
  for (DWORD flags : {static_cast<DWORD>(MB_ERR_INVALID_CHARS), 0ul}) {
    int length = MultiByteToWideChar(codePage, flags, text, -1, nullptr, 0);
    if (length <= 0 && GetLastError() == ERROR_INVALID_FLAGS) continue;
    if (length <= 0) return false;
    wide->assign(static_cast<size_t>(length), L'\0');
    return MultiByteToWideChar(codePage, flags, text, -1, &(*wide)[0], length) == length;
  }
  return false;
}

// WC_NO_BEST_FIT_CHARS came with Windows 2000; an older system refuses the flag, and
// there the round trip in ToOem catches a best fit.
bool Narrow(UINT codePage, const std::wstring& wide, std::string* text) {
  for (DWORD flags : {static_cast<DWORD>(WC_NO_BEST_FIT_CHARS), 0ul}) {
    BOOL usedDefault = FALSE;
    int length = WideCharToMultiByte(codePage, flags, wide.c_str(), -1, nullptr, 0, nullptr, &usedDefault);
    if (length <= 0 && GetLastError() == ERROR_INVALID_FLAGS) continue;
    if (length <= 0 || usedDefault) return false;
    text->assign(static_cast<size_t>(length), '\0');
    if (WideCharToMultiByte(codePage, flags, wide.c_str(), -1, &(*text)[0], length, nullptr, &usedDefault) !=
            length ||
        usedDefault)
      return false;
    text->resize(static_cast<size_t>(length) - 1);
    return true;
  }
  return false;
}

}  // namespace

SystemOemConversion::SystemOemConversion() : SystemOemConversion(GetACP(), GetOEMCP()) {}

SystemOemConversion::SystemOemConversion(unsigned ansiCodePage, unsigned oemCodePage)
    : ansi_(ansiCodePage), oem_(oemCodePage) {}

bool SystemOemConversion::ToOem(const char* ansi, std::string* oem) const {
  // The same code page (every double-byte one, and UTF-8, whose conversions take no
  // default character) reads the bytes as they are.
  if (ansi_ == oem_) {
    *oem = ansi;
    return true;
  }
  std::wstring wide, back;
  return Widen(ansi_, ansi, &wide) && Narrow(oem_, wide, oem) && Widen(oem_, oem->c_str(), &back) &&
         back == wide;
}
