#include "tests/RemovalTestSupport.h"

#include <shlobj.h>

#include "tests/LanguageTestSupport.h"
#include "tests/RegistryTestSupport.h"
#include "tests/SetupTestSupport.h"

using namespace integration_test;

namespace removal_test {

namespace {

// The build gives the programs as Unix paths.
const char kUninstallProgram[] = UNINSTALL_EXE;
const char kArchiverStandIn[] = ARCHIVER_STANDIN_EXE;
const char kInterpreterStandIn[] = INTERPRETER_STANDIN_EXE;
const char kLanguageLibrary[] = LANGUAGE_LIBRARY_DLL;

const char kToolsFolder[] = "C:\\removal-tools";

struct Item {
  const char* path;
  bool folder;
  DWORD attributes;
};

// What the archiver's installer placed besides the programs and the library; folders
// before their contents, so that they can be made in this order.
const Item kItems[] = {
    {"Kzp.txt", false, FILE_ATTRIBUTE_READONLY},
    {"license.txt", false, 0},
    {"order.txt", false, FILE_ATTRIBUTE_HIDDEN},
    {"zendra.hlp", false, FILE_ATTRIBUTE_SYSTEM},
    {"docs", true, 0},
    {"docs\\readme.txt", false, FILE_ATTRIBUTE_READONLY},
    {"docs\\sub", true, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY},
    {"docs\\sub\\deep.txt", false, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM},
    // A name whose double-byte character ends in the backslash byte.
    {"docs\\\x81\x5c.txt", false, 0},
};

// The help viewer's index files: not in the list, deleted by name.
const Item kHelpIndexFiles[] = {
    {"zendra.gid", false, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN},
    {"zendra.fts", false, FILE_ATTRIBUTE_SYSTEM},
};

std::string CaptionOf(HWND window) {
  char text[1024] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string ClassOf(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

struct BoxSearch {
  DWORD processId;
  const std::string* caption;
  HWND found;
};

BOOL CALLBACK CheckBox(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<BoxSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (!IsWindowVisible(window) || ClassOf(window) != "#32770") return TRUE;
  if (search->processId != 0 ? owner != search->processId : CaptionOf(window) != *search->caption)
    return TRUE;
  search->found = window;
  return FALSE;
}

// A visible message box, of the given process or (for 0) of any process whose caption
// is `caption`.
HWND FindBox(DWORD processId, const std::string& caption) {
  BoxSearch search{processId, &caption, nullptr};
  EnumWindows(CheckBox, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

Box ReadBox(HWND window) {
  Box box;
  box.shown = true;
  box.caption = CaptionOf(window);
  box.text = CaptionOf(GetDlgItem(window, 0xFFFF));
  return box;
}

std::string DoublePercent(const std::string& text) {
  std::string result;
  for (char c : text) result += c == '%' ? std::string("%%") : std::string(1, c);
  return result;
}

std::string EnvironmentValue(const char* name) {
  char value[MAX_PATH];
  DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

void AddTree(HKEY root, const std::string& rootName, const std::string& key, Snapshot* all) {
  for (const auto& [name, value] : TakeSnapshot(root, key)) (*all)[rootName + "\\" + key + name] = value;
}

}  // namespace

std::string Installation::File(const std::string& name) const {
  return folder + (folder.back() == '\\' ? "" : "\\") + name;
}

std::vector<std::string> Installation::ListedPaths() const {
  std::vector<std::string> paths = {Program(),          File("Zendra.exe"),
                                    File("kzplng.dll"), File("Uninstall.lst"),
                                    File("kzpnew.dat"), File("zipnew.dat")};
  for (const Item& item : kItems) paths.push_back(File(item.path));
  for (const Item& item : kHelpIndexFiles) paths.push_back(File(item.path));
  return paths;
}

Installation MakeInstallation(const std::string& folder, bool withLanguageLibrary, bool withList) {
  Installation installation{folder};
  CreateDirectoryA(folder.c_str(), nullptr);
  CopyFileA(language_test::WindowsPath(kUninstallProgram).c_str(), installation.Program().c_str(), FALSE);
  CopyFileA(language_test::WindowsPath(kArchiverStandIn).c_str(), installation.File("Zendra.exe").c_str(),
            FALSE);
  if (withLanguageLibrary) {
    CopyFileA(language_test::WindowsPath(kLanguageLibrary).c_str(), installation.File("kzplng.dll").c_str(),
              FALSE);
  }
  for (const Item& item : kItems) {
    if (item.folder) {
      CreateDirectoryA(installation.File(item.path).c_str(), nullptr);
    } else {
      WriteFileBytes(installation.File(item.path), std::string("installed file ") + item.path + "\r\n");
    }
  }
  for (const Item& item : kHelpIndexFiles) WriteFileBytes(installation.File(item.path), "index\r\n");
  // The list, too, may be read-only.
  if (withList) {
    WriteFileBytes(installation.File("Uninstall.lst"), InstallationListText());
    SetFileAttributesA(installation.File("Uninstall.lst").c_str(), FILE_ATTRIBUTE_READONLY);
  }
  // Attributes last: a read-only folder still takes its files first.
  for (const Item& item : kItems) SetFileAttributesA(installation.File(item.path).c_str(), item.attributes);
  for (const Item& item : kHelpIndexFiles)
    SetFileAttributesA(installation.File(item.path).c_str(), item.attributes);
  return installation;
}

std::string InstallationListText() {
  return "docs\r\n"
         "docs\\sub\n"
         "Zendra.exe\r\n"
         "kzplng.dll \t\r\n"
         "\r\n"
         "Kzp.txt\t\n"
         "license.txt   \n"
         " \t \r\n"
         "order.txt\r\n"
         "zendra.hlp\r\n"
         "docs\\readme.txt\r\n"
         "docs\\sub\\deep.txt\n"
         "docs\\\x81\x5c.txt\r\n"
         "\n"
         "missing.txt\r\n"
         "kzpnew.dat\r\n"
         "zipnew.dat\r\n"
         "..\\removal-outside.txt\r\n"
         "docs\\..\\..\\removal-outside.txt\r\n"
         "C:\\removal-outside-absolute.txt\r\n"
         "\\removal-outside-root.txt\r\n"
         "\\\\?\\C:\\removal-outside-absolute.txt\r\n"
         "..\\removal-sibling\\keep.txt";
}

std::vector<std::string> OutsideFiles(const Installation& installation) {
  std::string parent = installation.folder.substr(0, installation.folder.find_last_of('\\'));
  return {parent + "\\removal-outside.txt", parent + "\\removal-sibling\\keep.txt",
          "C:\\removal-outside-absolute.txt", "C:\\removal-outside-root.txt"};
}

void MakeOutsideFiles(const Installation& installation) {
  for (const std::string& file : OutsideFiles(installation)) {
    CreateDirectoryA(file.substr(0, file.find_last_of('\\')).c_str(), nullptr);
    WriteFileBytes(file, "not the archiver's\r\n");
  }
}

void LetAnotherProgramOwnZipAndIso() {
  auto set = [](const std::string& key, const char* value, const std::string& text) {
    registry_test::RawSetValue(HKEY_CLASSES_ROOT, key, value, REG_SZ, text.c_str(),
                               static_cast<DWORD>(text.size() + 1));
  };
  set(".zip", "", "OtherZip.Archive");
  set(".zip", "Content Type", "application/x-other-zip");
  set(".zip\\ShellNew", "FileName", "C:\\other\\empty.zip");
  set("OtherZip.Archive", "", "Other ZIP archive");
  set(".iso", "", "OtherIso.Image");
  set(".iso", "Content Type", "application/x-iso9660-image");
  set(".iso\\ShellNew", "NullFile", "");
  set("OtherIso.Image", "", "Other disc image");
}

DWORD RunProgram(const Installation& installation, const char* arguments, const std::vector<int>& answers,
                 std::vector<Box>* boxes) {
  std::string commandLine = "\"" + installation.Program() + "\"";
  if (arguments[0] != '\0') commandLine += std::string(" ") + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(installation.Program().c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                      installation.folder.c_str(), &startup, &process)) {
    ADD_FAILURE() << "cannot start " << commandLine << ": error " << GetLastError();
    return 9998;
  }
  CloseHandle(process.hThread);
  auto ended = [&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; };
  for (int answer : answers) {
    HWND found = nullptr;
    setup_test::WaitUntil([&] { return (found = FindBox(process.dwProcessId, "")) != nullptr || ended(); },
                          kTimeout);
    if (found == nullptr) break;
    if (boxes != nullptr) boxes->push_back(ReadBox(found));
    PostMessageA(GetDlgItem(found, answer), BM_CLICK, 0, 0);
    setup_test::WaitUntil([&] { return !IsWindow(found) || ended(); }, kTimeout);
  }
  DWORD code = 9999;
  if (WaitForSingleObject(process.hProcess, kTimeout) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process.hProcess, &code);
  } else {
    TerminateProcess(process.hProcess, 9999);
  }
  CloseHandle(process.hProcess);
  return code;
}

bool WaitUntilGone(const std::vector<std::string>& paths, std::vector<Box>* notices) {
  const std::string caption = Ansi("卸载 Zendra");
  return setup_test::WaitUntil(
      [&] {
        if (HWND notice = FindBox(0, caption)) {
          notices->push_back(ReadBox(notice));
          PostMessageA(GetDlgItem(notice, IDOK), BM_CLICK, 0, 0);
        }
        for (const std::string& path : paths) {
          if (FileExists(path)) return false;
        }
        return true;
      },
      kTimeout);
}

Snapshot RegistrySnapshot() {
  Snapshot all;
  // The classes, key by key below the root (a snapshot needs a key name).
  std::vector<std::string> names;
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD size = sizeof name;
    if (RegEnumKeyExA(HKEY_CLASSES_ROOT, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.push_back(name);
  }
  for (const std::string& name : names) AddTree(HKEY_CLASSES_ROOT, "HKCR", name, &all);
  AddTree(HKEY_CURRENT_USER, "HKCU", "Software\\Zendra", &all);
  for (const char* list : {"App Paths", "Uninstall", "Shell Extensions"})
    AddTree(HKEY_LOCAL_MACHINE, "HKLM", std::string("Software\\Microsoft\\Windows\\CurrentVersion\\") + list,
            &all);
  return all;
}

std::vector<std::string> Differences(const Snapshot& before, const Snapshot& after) {
  std::vector<std::string> lines;
  for (const auto& [name, value] : before) {
    auto found = after.find(name);
    if (found == after.end()) {
      lines.push_back("- " + name);
    } else if (found->second != value) {
      lines.push_back("~ " + name);
    }
  }
  for (const auto& [name, value] : after) {
    if (before.count(name) == 0) lines.push_back("+ " + name);
  }
  return lines;
}

namespace {

HKEY RootOf(const std::string& name) {
  if (name == "HKCR") return HKEY_CLASSES_ROOT;
  if (name == "HKCU") return HKEY_CURRENT_USER;
  return HKEY_LOCAL_MACHINE;
}

// A snapshot entry "ROOT\\key|value" in its parts; `value` is "(key)" for the key itself.
void SplitEntry(const std::string& entry, HKEY* root, std::string* key, std::string* value) {
  size_t slash = entry.find('\\'), bar = entry.find('|');
  *root = RootOf(entry.substr(0, slash));
  *key = entry.substr(slash + 1, bar - slash - 1);
  *value = entry.substr(bar + 1);
}

}  // namespace

void RestoreRegistry(const Snapshot& before) {
  Snapshot now = RegistrySnapshot();
  HKEY root;
  std::string key, value;
  for (const auto& [entry, data] : before) {
    auto found = now.find(entry);
    if (found != now.end() && found->second == data) continue;
    SplitEntry(entry, &root, &key, &value);
    if (value == "(key)") {
      registry_test::RawCreateKey(root, key);
    } else {
      registry_test::RawSetValue(root, key, value.c_str(), data.first, data.second.data(),
                                 static_cast<DWORD>(data.second.size()));
    }
  }
  std::vector<std::string> addedKeys;
  for (const auto& [entry, data] : now) {
    if (before.count(entry) != 0) continue;
    SplitEntry(entry, &root, &key, &value);
    if (value == "(key)") {
      addedKeys.push_back(entry);
      continue;
    }
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_SET_VALUE, &opened) == ERROR_SUCCESS) {
      RegDeleteValueA(opened, value.c_str());
      RegCloseKey(opened);
    }
  }
  // A key added since holds only what was added with it.
  for (const std::string& entry : addedKeys) {
    SplitEntry(entry, &root, &key, &value);
    registry_test::RawDeleteTree(root, key);
  }
}

std::string ExpectedBatch(const std::string& program, const std::string& folder, bool ntFamily) {
  std::string e = DoublePercent(program), d = DoublePercent(folder), b = DoublePercent(BatchPath());
  std::string text = (ntFamily ? "" : "start /wait ") + ("\"" + e + "\" /wait\r\n");
  for (int i = 0; i < 5; ++i)
    text += "del \"" + e + "\"\r\nrd \"" + d + "\"\r\nif not exist \"" + e + "\" goto done\r\n";
  return text + ":done\r\nif exist \"" + e + "\" \"" + e + "\" /warning\r\ndel \"" + b + "\"";
}

std::string BatchPath() {
  char folder[MAX_PATH] = "";
  GetTempPathA(sizeof folder, folder);
  return std::string(folder) + "Uninstall_Kzp.Bat";
}

std::string RealInterpreter() {
  char folder[MAX_PATH] = "";
  GetSystemDirectoryA(folder, sizeof folder);
  return std::string(folder) + "\\cmd.exe";
}

InterpreterStandIn::InterpreterStandIn(const std::string& record, bool forward)
    : record_(record),
      path_(std::string(kToolsFolder) + "\\interpreter.exe"),
      savedComspec_(EnvironmentValue("COMSPEC")) {
  CreateDirectoryA(kToolsFolder, nullptr);
  CopyFileA(language_test::WindowsPath(kInterpreterStandIn).c_str(), path_.c_str(), FALSE);
  DeleteFileA(record_.c_str());
  DeleteFileA((record_ + ".bat").c_str());
  SetEnvironmentVariableA("COMSPEC", path_.c_str());
  SetEnvironmentVariableA("REMOVAL_RECORD", record_.c_str());
  SetEnvironmentVariableA("REMOVAL_FORWARD", forward ? RealInterpreter().c_str() : nullptr);
}

InterpreterStandIn::~InterpreterStandIn() {
  SetEnvironmentVariableA("COMSPEC", savedComspec_.empty() ? nullptr : savedComspec_.c_str());
  SetEnvironmentVariableA("REMOVAL_RECORD", nullptr);
  SetEnvironmentVariableA("REMOVAL_FORWARD", nullptr);
}

std::string InterpreterStandIn::Recorded(const char* name) const {
  std::string bytes = ReadFileBytes(record_);
  if (bytes == "<missing>") return "<none>";
  std::string key = std::string(name) + "=";
  for (size_t start = 0; start < bytes.size();) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    if (bytes.compare(start, key.size(), key) == 0)
      return bytes.substr(start + key.size(), end - start - key.size());
    start = end + 1;
  }
  return "<none>";
}

std::string InterpreterStandIn::RecordedBatch() const {
  return ReadFileBytes(record_ + ".bat");
}

}  // namespace removal_test
