#include "Main/SystemSettings.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "Main/Handle.h"

namespace {

const char kServerAppPathsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\sqlservr.exe";
const char kSettingsFile[] = "QUORNAX.INI";
const char kRunSection[] = "SOFTWARE,Quillsys,Quorn_Ax,1.0,Run";

}  // namespace

bool ReadServerPath(std::string& value) {
  // Read access is all that is needed; asking for more would fail for operators
  // without administrative rights and silently skip the directives.
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kServerAppPathsKey, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) {
    return false;
  }
  RegistryKey key(opened);
  value.clear();
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key.Get(), "Path", nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ) || size == 0) {
    return true;
  }
  std::vector<char> data(size + 1, '\0');
  if (RegQueryValueExA(key.Get(), "Path", nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) ==
      ERROR_SUCCESS) {
    // The stored text need not end with a terminator; the extra byte provides one.
    value.assign(data.data(), strnlen(data.data(), std::min<size_t>(size, data.size() - 1)));
  }
  return true;
}

void RemoveModuleFromRunList(const std::string& moduleName) {
  const std::string folder = SystemFolder();
  if (folder.empty()) return;
  const std::string settings = folder + "\\" + kSettingsFile;
  WritePrivateProfileStringA(kRunSection, moduleName.c_str(), nullptr, settings.c_str());
}

std::string GetLocalComputerName() {
  char name[MAX_COMPUTERNAME_LENGTH + 1];
  DWORD size = sizeof name;
  if (!GetComputerNameA(name, &size) || size >= sizeof name) return std::string();
  return std::string(name, size);
}

std::string SystemFolder() {
  char folder[MAX_PATH];
  const UINT length = GetSystemDirectoryA(folder, sizeof folder);
  if (length == 0 || length >= sizeof folder) return std::string();
  return std::string(folder, length);
}

std::string ProgramFileName() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::string();
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}
