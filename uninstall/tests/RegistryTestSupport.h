// Direct registry access for checking what the registry layer did, and scratch trees.
#pragma once

#include <windows.h>

#include <string>

namespace registry_test {

inline bool RawKeyExists(HKEY root, const std::string& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

inline void RawCreateKey(HKEY root, const std::string& name) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(root, name.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) == ERROR_SUCCESS)
    RegCloseKey(key);
}

// Returns the value's type, or REG_NONE when it cannot be read; data goes to `data`.
inline DWORD RawQuery(HKEY root, const std::string& key, const char* value, std::string* data) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return REG_NONE;
  char buffer[1024];
  DWORD size = sizeof buffer;
  DWORD type = REG_NONE;
  LONG result = RegQueryValueExA(opened, value, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(opened);
  if (result != ERROR_SUCCESS) return REG_NONE;
  data->assign(buffer, size);
  return type;
}

inline void RawSetValue(HKEY root, const std::string& key, const char* value, DWORD type, const void* data,
                        DWORD size) {
  HKEY opened = nullptr;
  if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &opened, nullptr) !=
      ERROR_SUCCESS)
    return;
  RegSetValueExA(opened, value, 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(opened);
}

// Removes a scratch tree whatever the code under test did (RegDeleteTreeA is Vista+).
inline void RawDeleteTree(HKEY root, const std::string& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, name.c_str(), 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
    RegDeleteTreeA(key, nullptr);
    RegCloseKey(key);
  }
  RegDeleteKeyA(root, name.c_str());
}

// A tree `depth` levels deep below `name` with `width` children on every key.
inline int MakeTree(HKEY root, const std::string& name, int width, int depth) {
  RawCreateKey(root, name);
  int made = 1;
  if (depth == 0) return made;
  for (int i = 0; i < width; ++i) made += MakeTree(root, name + "\\k" + std::to_string(i), width, depth - 1);
  return made;
}

}  // namespace registry_test
