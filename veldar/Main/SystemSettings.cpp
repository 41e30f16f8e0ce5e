#include "Main/SystemSettings.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "Base/Handle.h"

namespace {

const char kServerAppPathsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\sqlservr.exe";
const char kSettingsFile[] = "QUORNAX.INI";
const char kRunSection[] = "SOFTWARE,Quillsys,Quorn_Ax,1.0,Run";

// True for a 32-bit program on 64-bit Windows. IsWow64Process is looked up at run time:
// Windows 2000 and XP before SP2 lack it, and have no 64-bit side.
bool RunsUnderWow64() {
  using IsWow64ProcessCall = BOOL(WINAPI*)(HANDLE, PBOOL);
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (!kernel) return false;
  auto isWow64 =
      reinterpret_cast<IsWow64ProcessCall>(reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")));
  BOOL wow64 = FALSE;
  return isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64;
}

}  // namespace

RegistryAccess SystemRegistry() {
  // The view flags are passed only where the system has a second view: older systems
  // do not know them and may refuse the access they ask for.
  const REGSAM other = sizeof(void*) == 8 ? KEY_WOW64_32KEY : RunsUnderWow64() ? KEY_WOW64_64KEY : 0;
  return RegistryAccess{RegOpenKeyExA, other};
}

bool ReadServerPath(std::string& value, const RegistryAccess& registry) {
  // Read access is all that is needed; asking for more would fail for operators
  // without administrative rights and silently skip the directives.
  HKEY opened = nullptr;
  LONG status = registry.openKey(HKEY_LOCAL_MACHINE, kServerAppPathsKey, 0, KEY_QUERY_VALUE, &opened);
  if (status != ERROR_SUCCESS && registry.otherView != 0) {
    status = registry.openKey(HKEY_LOCAL_MACHINE, kServerAppPathsKey, 0, KEY_QUERY_VALUE | registry.otherView,
                              &opened);
  }
  if (status != ERROR_SUCCESS) return false;
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

std::string WindowsFolder() {
  char folder[MAX_PATH];
  const UINT length = GetWindowsDirectoryA(folder, sizeof folder);
  if (length == 0 || length >= sizeof folder) return std::string();
  return std::string(folder, length);
}

std::string EnvironmentValue(const char* name) {
  std::vector<char> buffer(1024);
  for (;;) {
    const DWORD length = GetEnvironmentVariableA(name, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::string();
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(length);  // the size asked for, with its terminator
  }
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
