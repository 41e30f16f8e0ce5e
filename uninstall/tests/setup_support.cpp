#include "tests/setup_support.h"

#include "resources/resource.h"

namespace uninstall_test {

namespace {

// The build gives the programs under test as Unix paths.
const char kUninstallProgram[] = UNINSTALL_EXE;
const char kStandInProgram[] = STANDIN_EXE;

const char kInstallationRoot[] = "C:\\setup test";
const char kInstallationFolder[] = "C:\\setup test\\Zendra";
const char kStandInFolder[] = "C:\\standins";
const char kDocumentClass[] = "ZendraTest.Document";

std::string CopyStandIn(const std::string& name) {
  CreateDirectoryA(kStandInFolder, nullptr);
  std::string path = std::string(kStandInFolder) + "\\" + name;
  CopyFileA(WindowsPath(kStandInProgram).c_str(), path.c_str(), FALSE);
  DeleteFileA((path + ".log").c_str());
  return path;
}

std::string OpenCommand(const std::string& program) {
  return "\"" + program + "\" \"%1\"";
}

// The dialogs share control numbers; each is told by one that only it has.
bool IsSetupDialog(HWND window) {
  return GetDlgItem(window, IDC_CONTEXT_ITEMS) != nullptr;
}
bool IsContextItemsDialog(HWND window) {
  return GetDlgItem(window, IDC_MENU_EXTRACT_TO) != nullptr;
}
bool IsDoneDialog(HWND window) {
  return GetDlgItem(window, IDC_HOME_PAGE) != nullptr && !IsSetupDialog(window);
}
const std::function<bool(HWND)> kIsDialog[] = {IsSetupDialog, IsContextItemsDialog, IsDoneDialog};

}  // namespace

std::vector<std::string> RecordedStarts(const std::string& standInPath) {
  std::string bytes = ReadFileBytes(standInPath + ".log");
  if (bytes == "<missing>") return {};
  // Only whole lines: a start may be writing its line.
  return LinesOf(bytes.substr(0, bytes.rfind('\n') + 1));
}

std::string RecordedArguments(const std::string& line) {
  return ArgumentsOf(line.substr(0, line.rfind('|')));
}

std::string RecordedFolder(const std::string& line) {
  return line.substr(line.rfind('|') + 1);
}

Installation MakeInstallation() {
  RemoveFolder(kInstallationRoot);
  CreateDirectoryA(kInstallationRoot, nullptr);
  CreateDirectoryA(kInstallationFolder, nullptr);
  Installation installation{kInstallationFolder};
  CopyPrograms(installation);
  WriteFileBytes(installation.File("license.txt"), "licence\r\n");
  WriteFileBytes(installation.File("order.txt"), "prices\r\n");
  return installation;
}

void CopyPrograms(const Installation& installation) {
  CopyFileA(WindowsPath(kUninstallProgram).c_str(), installation.Program().c_str(), FALSE);
  CopyFileA(WindowsPath(kStandInProgram).c_str(), installation.Archiver().c_str(), FALSE);
}

Openers RegisterOpeners() {
  Openers openers{CopyStandIn("documents.exe"), CopyStandIn("folders.exe"), CopyStandIn("webpages.exe")};
  RawSetText(HKEY_CLASSES_ROOT, ".txt", "", kDocumentClass);
  RawSetText(HKEY_CLASSES_ROOT, std::string(kDocumentClass) + "\\shell\\open\\command", "",
             OpenCommand(openers.documents));
  // The shell would otherwise hand folders to its own viewer by DDE.
  RawDeleteTree(HKEY_CLASSES_ROOT, "Folder\\shell\\open\\ddeexec");
  RawSetText(HKEY_CLASSES_ROOT, "Folder\\shell\\open\\command", "", OpenCommand(openers.folders));
  RawSetText(HKEY_CLASSES_ROOT, "https\\shell\\open\\command", "", OpenCommand(openers.webPages));
  return openers;
}

void ResetSetupState(const char* isoOwner) {
  RemoveArchiverFootprint();
  if (isoOwner[0] != '\0') RawSetText(HKEY_CLASSES_ROOT, ".iso", "", isoOwner);
}

SetupProcess::SetupProcess(const Installation& installation, const char* arguments,
                           const std::string& currentFolder) {
  Start(installation.Program(), arguments, currentFolder.empty() ? installation.folder : currentFolder);
}

HWND SetupProcess::Find(SetupDialog dialog) const {
  return FindWindowOf(Id(), "#32770", kIsDialog[dialog]);
}
HWND SetupProcess::WaitFor(SetupDialog dialog) const {
  return WaitForWindowOf(Id(), "#32770", kTimeout, kIsDialog[dialog]);
}

HWND SetupProcess::OpenContextItems(HWND setupDialog) const {
  Press(setupDialog, IDC_CONTEXT_ITEMS);
  return WaitFor(kContextItemsDialog);
}
bool SetupProcess::CloseContextItems(HWND items, int button) const {
  Press(items, button);
  return WaitUntil([&] { return Find(kContextItemsDialog) == nullptr; });
}

}  // namespace uninstall_test
