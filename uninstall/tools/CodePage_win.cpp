#include <windows.h>

#include <vector>

#include "tools/CodePage.h"

std::string Utf16ToCodePage936(const std::u16string& text) {
  if (text.empty()) return std::string();
  const wchar_t* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int length = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(936, 0, wide, length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::string(text.size(), '?');
  std::vector<char> bytes(static_cast<size_t>(size));
  WideCharToMultiByte(936, 0, wide, length, bytes.data(), size, nullptr, nullptr);
  return std::string(bytes.data(), bytes.size());
}

void UseCodePage936LeadBytes() {}
