#include "tests/SetupTestSupport.h"

#include <shlobj.h>

#include <cstdio>

#include "integration/Associations.h"
#include "integration/ShellExtension.h"
#include "tests/IntegrationTestSupport.h"
#include "tests/LanguageTestSupport.h"
#include "tests/RegistryTestSupport.h"

using namespace integration_test;
using namespace language_test;
using namespace registry_test;

namespace setup_test {

namespace {

// The build gives the programs under test as Unix paths.
const char kUninstallProgram[] = UNINSTALL_EXE;
const char kStandInProgram[] = STANDIN_EXE;

const char kInstallationRoot[] = "C:\\setup test";
const char kInstallationFolder[] = "C:\\setup test\\Zendra";
const char kStandInFolder[] = "C:\\standins";
const char kDocumentClass[] = "ZendraTest.Document";

// The magic number with which the system's help function hands over a request.
constexpr ULONG_PTR kHelpRequestMagic = 0xA1DE505;

// What the help function sends: a header, then the help file's name.
#pragma pack(push, 1)
struct HelpRequestHeader {
  WORD size;
  WORD command;
  LONG data;
  LONG reserved;
  WORD fileOffset;
  WORD dataOffset;
};
#pragma pack(pop)

void HandleMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

std::string CopyStandIn(const std::string& name) {
  CreateDirectoryA(kStandInFolder, nullptr);
  std::string path = std::string(kStandInFolder) + "\\" + name;
  CopyFileA(WindowsPath(kStandInProgram).c_str(), path.c_str(), FALSE);
  DeleteFileA((path + ".log").c_str());
  return path;
}

void SetText(HKEY root, const std::string& key, const char* value, const std::string& text) {
  RawSetValue(root, key, value, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

std::string OpenCommand(const std::string& program) {
  return "\"" + program + "\" \"%1\"";
}

std::string DialogClass(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD timeout) {
  DWORD start = GetTickCount();
  for (;;) {
    HandleMessages();
    if (condition()) return true;
    if (GetTickCount() - start > timeout) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

void PumpFor(DWORD milliseconds) {
  DWORD start = GetTickCount();
  while (GetTickCount() - start < milliseconds) {
    HandleMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  HandleMessages();
}

void UseUnmanagedWindows() {
  SetText(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", "Managed", "N");
}

std::vector<std::string> RecordedStarts(const std::string& standInPath) {
  std::vector<std::string> lines;
  std::string bytes = ReadFileBytes(standInPath + ".log");
  if (bytes == "<missing>") return lines;
  size_t start = 0;
  for (size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(bytes.substr(start, end - start));
  }
  return lines;
}

std::string RecordedArguments(const std::string& line) {
  std::string commandLine = line.substr(0, line.rfind('|'));
  size_t programEnd = commandLine[0] == '"' ? commandLine.find('"', 1) + 1 : commandLine.find(' ');
  if (programEnd == std::string::npos || programEnd >= commandLine.size()) return "";
  return commandLine.substr(commandLine.find_first_not_of(' ', programEnd));
}

std::string RecordedFolder(const std::string& line) {
  return line.substr(line.rfind('|') + 1);
}

std::string ScalingLanguageFile() {
  return kMarkerLine + Entry("", "120*100", "SETUPDLG", TranslationCategory::Dialog);
}

std::string RightToLeftLanguageFile() {
  return kMarkerLine + Entry("LTR", "RTL", "LTR", TranslationCategory::Dialog);
}

Installation MakeInstallation() {
  RemoveFolder(kInstallationRoot);
  CreateDirectoryA(kInstallationRoot, nullptr);
  CreateDirectoryA(kInstallationFolder, nullptr);
  Installation installation{kInstallationFolder};
  CopyFileA(WindowsPath(kUninstallProgram).c_str(), installation.Program().c_str(), FALSE);
  CopyFileA(WindowsPath(kStandInProgram).c_str(), installation.Archiver().c_str(), FALSE);
  WriteFileBytes(installation.File("license.txt"), "licence\r\n");
  WriteFileBytes(installation.File("order.txt"), "prices\r\n");
  return installation;
}

Openers RegisterOpeners() {
  Openers openers{CopyStandIn("documents.exe"), CopyStandIn("folders.exe"), CopyStandIn("webpages.exe")};
  SetText(HKEY_CLASSES_ROOT, ".txt", "", kDocumentClass);
  SetText(HKEY_CLASSES_ROOT, std::string(kDocumentClass) + "\\shell\\open\\command", "",
          OpenCommand(openers.documents));
  // The shell would otherwise hand folders to its own viewer by DDE.
  RawDeleteTree(HKEY_CLASSES_ROOT, "Folder\\shell\\open\\ddeexec");
  SetText(HKEY_CLASSES_ROOT, "Folder\\shell\\open\\command", "", OpenCommand(openers.folders));
  SetText(HKEY_CLASSES_ROOT, "https\\shell\\open\\command", "", OpenCommand(openers.webPages));
  return openers;
}

void ResetSetupState(const char* isoOwner) {
  RawDeleteTree(HKEY_CURRENT_USER, "Software\\Zendra");
  for (const AssociationGroup& group : AssociationGroups) {
    std::string extensions = group.extensions;
    for (size_t start = 0; start < extensions.size();) {
      size_t next = extensions.find('.', start + 1);
      RawDeleteTree(HKEY_CLASSES_ROOT, extensions.substr(start, next - start));
      start = next == std::string::npos ? extensions.size() : next;
    }
  }
  for (int n = 0; n < 100; ++n) RawDeleteTree(HKEY_CLASSES_ROOT, Volume(n));
  for (const char* key : {".rev", "Zendra", "Zendra.ZIP", "Zendra.REV"})
    RawDeleteTree(HKEY_CLASSES_ROOT, key);
  const std::string classId = kShellExtensionClassId;
  RawDeleteTree(HKEY_CLASSES_ROOT, "CLSID\\" + classId);
  RawDeleteTree(HKEY_CLASSES_ROOT, "exefile\\shellex\\PropertySheetHandlers\\" + classId);
  for (const char* key :
       {"*\\shellex\\ContextMenuHandlers\\Zendra", "Folder\\shellex\\ContextMenuHandlers\\Zendra",
        "Folder\\shellex\\DragDropHandlers\\Zendra", "Drive\\shellex\\DragDropHandlers\\Zendra",
        "Directory\\shellex\\ContextMenuHandlers\\Zendra", "Directory\\shellex\\DragDropHandlers\\Zendra"}) {
    RawDeleteTree(HKEY_CLASSES_ROOT, key);
  }
  HKEY approved = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                    "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved", 0,
                    KEY_SET_VALUE, &approved) == ERROR_SUCCESS) {
    RegDeleteValueA(approved, classId.c_str());
    RegCloseKey(approved);
  }
  RawDeleteTree(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Zendra.exe");
  RawDeleteTree(HKEY_LOCAL_MACHINE,
                "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zendra archiver");
  DeleteFileA((ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Zendra.lnk").c_str());
  DeleteFileA((ShellFolder(CSIDL_STARTMENU) + "\\Zendra.lnk").c_str());
  RemoveFolder(ShellFolder(CSIDL_PROGRAMS) + "\\Zendra");
  RemoveFolder(ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Zendra");
  RawDeleteTree(HKEY_CLASSES_ROOT, ".iso");
  if (isoOwner[0] != '\0') SetText(HKEY_CLASSES_ROOT, ".iso", "", isoOwner);
}

SetupProcess::SetupProcess(const Installation& installation, const char* arguments,
                           const std::string& currentFolder) {
  std::string commandLine = "\"" + installation.Program() + "\" " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(installation.Program().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      (currentFolder.empty() ? installation.folder : currentFolder).c_str(), &startup,
                      &info)) {
    return;
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  processId_ = info.dwProcessId;
}

SetupProcess::~SetupProcess() {
  if (process_ == nullptr) return;
  if (!HasExited()) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, kTimeout);
  }
  CloseHandle(process_);
}

bool SetupProcess::WaitForExit(DWORD timeout) {
  return process_ != nullptr && WaitUntil([this] { return HasExited(); }, timeout);
}

bool SetupProcess::HasExited() const {
  return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_OBJECT_0;
}

namespace {

struct DialogSearch {
  DWORD processId;
  const std::function<bool(HWND)>* isWanted;
  HWND found;
};

BOOL CALLBACK CheckWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<DialogSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || DialogClass(window) != "#32770") return TRUE;
  // Visibility is looked at last: a dialog that is closing is hidden before its controls
  // go, so a window still visible after its controls were looked at had them all.
  if (!(*search->isWanted)(window) || !IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

HWND SetupProcess::FindDialog(const std::function<bool(HWND)>& isWanted) const {
  DialogSearch search{processId_, &isWanted, nullptr};
  EnumWindows(CheckWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string SetupProcess::DescribeWindows() const {
  std::string text;
  FindDialog([&text](HWND window) {
    char line[160];
    snprintf(line, sizeof line, "\n  window %p ex-style %08lx controls", static_cast<void*>(window),
             static_cast<unsigned long>(GetWindowLongA(window, GWL_EXSTYLE)));
    text += line;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
      text += " " + std::to_string(GetDlgCtrlID(child));
    }
    return false;
  });
  return text;
}

HWND SetupProcess::WaitForDialog(const std::function<bool(HWND)>& isWanted) const {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindDialog(isWanted)) != nullptr; });
  return found;
}

// The dialogs share control numbers; each is told by one that only it has.
namespace {
bool IsSetupDialog(HWND window) {
  return GetDlgItem(window, 5121) != nullptr;
}
bool IsContextItemsDialog(HWND window) {
  return GetDlgItem(window, 101) != nullptr;
}
bool IsDoneDialog(HWND window) {
  return GetDlgItem(window, 5106) != nullptr && !IsSetupDialog(window);
}
}  // namespace

HWND SetupProcess::FindSetupDialog() const {
  return FindDialog(IsSetupDialog);
}
HWND SetupProcess::FindContextItemsDialog() const {
  return FindDialog(IsContextItemsDialog);
}
HWND SetupProcess::FindDoneDialog() const {
  return FindDialog(IsDoneDialog);
}
HWND SetupProcess::WaitForSetupDialog() const {
  return WaitForDialog(IsSetupDialog);
}
HWND SetupProcess::WaitForContextItemsDialog() const {
  return WaitForDialog(IsContextItemsDialog);
}
HWND SetupProcess::WaitForDoneDialog() const {
  return WaitForDialog(IsDoneDialog);
}

bool IsChecked(HWND dialog, int control) {
  return SendDlgItemMessageA(dialog, control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool IsEnabled(HWND dialog, int control) {
  return IsWindowEnabled(GetDlgItem(dialog, control)) != FALSE;
}

std::string ControlText(HWND dialog, int control) {
  char text[1024] = "";
  SendDlgItemMessageA(dialog, control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

void Click(HWND dialog, int control) {
  SendDlgItemMessageA(dialog, control, BM_CLICK, 0, 0);
}

void Press(HWND dialog, int control) {
  // A null window would post the click to this thread instead.
  if (HWND button = GetDlgItem(dialog, control)) PostMessageA(button, BM_CLICK, 0, 0);
}

void PressCloseBox(HWND dialog) {
  PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void PressF1(HWND dialog) {
  SetForegroundWindow(dialog);
  WaitUntil([dialog] { return GetForegroundWindow() == dialog; }, 5000);
  INPUT keys[2] = {};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = VK_F1;
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof keys[0]);
}

HelpViewerStandIn::HelpViewerStandIn() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "MS_WINHELP";
  RegisterClassA(&windowClass);
  window_ = CreateWindowA("MS_WINHELP", "help viewer stand-in", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                          windowClass.hInstance, nullptr);
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

HelpViewerStandIn::~HelpViewerStandIn() {
  if (window_ != nullptr) DestroyWindow(window_);
  UnregisterClassA("MS_WINHELP", GetModuleHandleA(nullptr));
}

LRESULT CALLBACK HelpViewerStandIn::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* viewer = reinterpret_cast<HelpViewerStandIn*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message != WM_COPYDATA || viewer == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  if (copy->dwData != kHelpRequestMagic || copy->cbData < sizeof(HelpRequestHeader)) return FALSE;
  const auto* header = static_cast<const HelpRequestHeader*>(copy->lpData);
  HelpRequest request{header->command, header->data, ""};
  if (header->fileOffset != 0 && header->fileOffset < copy->cbData) {
    const char* file = static_cast<const char*>(copy->lpData) + header->fileOffset;
    request.file.assign(file, strnlen(file, copy->cbData - header->fileOffset));
  }
  viewer->requests_.push_back(request);
  return TRUE;
}

}  // namespace setup_test
