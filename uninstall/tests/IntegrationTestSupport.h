// Helpers for the tests of associations, shell integration and shortcuts: texts in the
// ANSI code page, registry snapshots, scratch program folders and shortcut files.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "integration/ProgramFolder.h"
#include "language/ExtResource.h"

namespace integration_test {

// Message texts from this executable's own string table (no language library).
inline void UseOwnStringTable() {
  extResource.Load(GetModuleHandleA(nullptr), "Z:\\no\\such\\folder\\uninstall.exe");
}

// A UTF-8 text in the ANSI code page (GBK under code page 936).
inline std::string Ansi(const char* utf8) {
  wchar_t wide[512];
  char ansi[1024];
  if (MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 512) == 0) return "";
  if (WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof ansi, nullptr, nullptr) == 0) return "";
  return ansi;
}

// Every value below a key, by "subkey path|value name", with its type and bytes.
using Snapshot = std::map<std::string, std::pair<DWORD, std::string>>;

inline void AddToSnapshot(HKEY root, const std::string& name, const std::string& prefix, Snapshot* snapshot) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  (*snapshot)[prefix + "|(key)"] = {REG_NONE, ""};
  for (DWORD i = 0;; ++i) {
    char valueName[256];
    DWORD nameSize = sizeof valueName;
    BYTE data[2048];
    DWORD dataSize = sizeof data;
    DWORD type = REG_NONE;
    if (RegEnumValueA(key, i, valueName, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
    (*snapshot)[prefix + "|" + valueName] = {type, std::string(reinterpret_cast<char*>(data), dataSize)};
  }
  std::vector<std::string> children;
  for (DWORD i = 0;; ++i) {
    char child[256];
    DWORD childSize = sizeof child;
    if (RegEnumKeyExA(key, i, child, &childSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    children.push_back(child);
  }
  RegCloseKey(key);
  for (const std::string& child : children)
    AddToSnapshot(root, name + "\\" + child, prefix + "\\" + child, snapshot);
}

inline Snapshot TakeSnapshot(HKEY root, const std::string& name) {
  Snapshot snapshot;
  AddToSnapshot(root, name, "", &snapshot);
  return snapshot;
}

// A registry string value as stored, without its terminating zero; "<none>" when it
// cannot be read, "<type N>" when it is not REG_SZ.
inline std::string ReadText(HKEY root, const std::string& key, const char* value) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return "<none>";
  char buffer[2048];
  DWORD size = sizeof buffer;
  DWORD type = REG_NONE;
  LONG result = RegQueryValueExA(opened, value, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(opened);
  if (result != ERROR_SUCCESS) return "<none>";
  if (type != REG_SZ) return "<type " + std::to_string(type) + ">";
  std::string text(buffer, size);
  if (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}

inline bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline std::string ReadFileBytes(const std::string& path) {
  std::string bytes;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<missing>";
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

// Removes a folder with its contents (the test's own clean-up, independent of the
// code under test).
inline void RemoveFolder(const std::string& path) {
  if (!FileExists(path)) return;
  std::string list = path + std::string(2, '\0');
  SHFILEOPSTRUCTA operation = {};
  operation.wFunc = FO_DELETE;
  operation.pFrom = list.c_str();
  operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
  SHFileOperationA(&operation);
}

inline std::string ShellFolder(int folder) {
  char path[MAX_PATH] = "";
  if (FAILED(SHGetFolderPathA(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path))) return "";
  return path;
}

// A fresh folder `root`\`name` made the folder of "this program"; returns its path.
inline std::string MakeScratchProgramFolder(const std::string& root, const std::string& name) {
  RemoveFolder(root);
  CreateDirectoryA(root.c_str(), nullptr);
  std::string folder = root + "\\" + name;
  CreateDirectoryA(folder.c_str(), nullptr);
  OverrideProgramPath((folder + "\\uninstall.exe").c_str());
  return folder;
}

inline void RemoveScratchProgramFolder(const std::string& root) {
  OverrideProgramPath(nullptr);
  RemoveFolder(root);
}

// The name of a multi-volume extension: .k00, .k01, ...
inline std::string Volume(int n) {
  char name[8];
  snprintf(name, sizeof name, ".k%02d", n);
  return name;
}

struct ShortcutFields {
  bool loaded = false;
  std::string target;
  std::string description;
};

// Loads a shortcut file back through the shell and reads its target and description.
inline ShortcutFields ReadShortcut(const std::string& file) {
  ShortcutFields fields;
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link))))
    return fields;
  IPersistFile* persist = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
    if (SUCCEEDED(persist->Load(wide, STGM_READ))) {
      char text[MAX_PATH] = "";
      if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH))) fields.target = text;
      char description[INFOTIPSIZE] = "";
      if (SUCCEEDED(link->GetDescription(description, INFOTIPSIZE))) fields.description = description;
      fields.loaded = true;
    }
    persist->Release();
  }
  link->Release();
  return fields;
}

// The expected templates, built so that no complete signature stands in this file.
inline std::string ExpectedTemplate(bool kzp) {
  volatile char k = 'K';
  volatile char p = 'P';
  if (kzp)
    return std::string(1, k) + std::string("zp!\x1a\x07\x00\xcf\x90\x73\x00\x00\x0d", 12) +
           std::string(7, '\0');
  return std::string(1, p) + std::string("K\x05\x06", 3) + std::string(18, '\0');
}

}  // namespace integration_test
