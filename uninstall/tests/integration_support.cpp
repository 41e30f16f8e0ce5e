#include "integration_support.h"

#include <shlobj.h>

#include <cstdio>

#include "integration/AppEntries.h"
#include "integration/ProgramFolder.h"
#include "language/ExtResource.h"

namespace uninstall_test {

std::string Volume(int n) {
  char name[8];
  snprintf(name, sizeof name, ".k%02d", n);
  return name;
}

std::string ClassesOf(std::initializer_list<const char*> extensions) {
  std::string classes, separator;
  for (const char* extension : extensions) {
    classes += separator + ReadText(HKEY_CLASSES_ROOT, extension, "");
    separator = ", ";
  }
  return classes;
}

namespace {
std::string ShellFolder(int folder) {
  char path[MAX_PATH] = "";
  if (FAILED(SHGetFolderPathA(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path))) return "";
  return path;
}
}  // namespace

std::vector<std::string> ShortcutPaths() {
  return {ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Zendra.lnk", ShellFolder(CSIDL_STARTMENU) + "\\Zendra.lnk",
          ShellFolder(CSIDL_PROGRAMS) + "\\Zendra", ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Zendra"};
}

void RemoveArchiverFootprint() {
  for (const char* key : kArchiverExtensions) RawDeleteTree(HKEY_CLASSES_ROOT, key);
  for (int n = 0; n < 100; ++n) RawDeleteTree(HKEY_CLASSES_ROOT, Volume(n));
  for (const char* key : {"Zendra", "Zendra.ZIP", "Zendra.REV", ".rev"})
    RawDeleteTree(HKEY_CLASSES_ROOT, key);
  RawDeleteTree(HKEY_CLASSES_ROOT, "CLSID\\" + kClassId);
  for (const std::string& key : kClassHandlerKeys) RawDeleteTree(HKEY_CLASSES_ROOT, key);
  for (const std::string& key : kSharedHandlerKeys) RawDeleteTree(HKEY_CLASSES_ROOT, key);
  RawDeleteValue(HKEY_LOCAL_MACHINE, kApprovedKey, kClassId.c_str());
  RawDeleteTree(HKEY_LOCAL_MACHINE, kAppPathsKey);
  RawDeleteTree(HKEY_LOCAL_MACHINE, kUninstallKey);
  RawDeleteTree(HKEY_CURRENT_USER, kProductKey);
  for (const std::string& path : ShortcutPaths()) {
    DeleteFileA(path.c_str());
    RemoveFolder(path);
  }
}

std::vector<RegistryPlace> FootprintPlaces() {
  const std::string lists = "Software\\Microsoft\\Windows\\CurrentVersion\\";
  return {{HKEY_CLASSES_ROOT, ""},
          {HKEY_CURRENT_USER, kProductKey},
          {HKEY_LOCAL_MACHINE, lists + "App Paths"},
          {HKEY_LOCAL_MACHINE, lists + "Uninstall"},
          {HKEY_LOCAL_MACHINE, lists + "Shell Extensions"}};
}

ShortcutFields ReadShortcut(const std::string& file) {
  ShortcutFields fields;
  wchar_t wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
  ComPtr<IShellLinkA> link;
  ComPtr<IPersistFile> persist;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              link.OutVoid())) ||
      FAILED(link->QueryInterface(IID_IPersistFile, persist.OutVoid())) ||
      FAILED(persist->Load(wide, STGM_READ)))
    return fields;
  char text[MAX_PATH] = "";
  if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH))) fields.target = text;
  char description[INFOTIPSIZE] = "";
  if (SUCCEEDED(link->GetDescription(description, INFOTIPSIZE))) fields.description = description;
  fields.loaded = true;
  return fields;
}

std::string ExpectedTemplate(bool kzp) {
  volatile char k = 'K';
  volatile char p = 'P';
  if (kzp)
    return std::string(1, k) + std::string("zp!\x1a\x07\x00\xcf\x90\x73\x00\x00\x0d", 12) +
           std::string(7, '\0');
  return std::string(1, p) + std::string("K\x05\x06", 3) + std::string(18, '\0');
}

void IntegrationTest::SetUp() {
  // Message texts from the test program's own string table (no language library).
  extResource.Load(GetModuleHandleA(nullptr), "Z:\\no\\such\\folder\\uninstall.exe");
  ASSERT_TRUE(ole_.Initialized());
  RemoveArchiverFootprint();
  RemoveFolder(root_);
  CreateDirectoryA(root_.c_str(), nullptr);
  folder_ = MakeProgramFolder(folderName_);
  ASSERT_TRUE(FileExists(folder_));
}

void IntegrationTest::TearDown() {
  OverrideProgramPath(nullptr);
  RemoveFolder(root_);
  RemoveArchiverFootprint();
}

std::string IntegrationTest::MakeProgramFolder(const std::string& name) {
  std::string folder = root_ + "\\" + name;
  CreateDirectoryA(folder.c_str(), nullptr);
  OverrideProgramPath((folder + "\\uninstall.exe").c_str());
  return folder;
}

}  // namespace uninstall_test
