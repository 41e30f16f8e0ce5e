#include "tests/removal_support.h"

#include "remove/BatchFile.h"
#include "tests/oem_tables.h"

namespace uninstall_test {

namespace {

// The build gives the programs as Unix paths.
const char kInterpreterStandIn[] = INTERPRETER_STANDIN_EXE;
const char kLanguageLibrary[] = LANGUAGE_LIBRARY_DLL;

const char kToolsFolder[] = "C:\\removal-tools";
const char kSessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";
const char kPending[] = "PendingFileRenameOperations";

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
    // The help viewer's index files: not in the list, deleted by name.
    {"zendra.gid", false, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN},
    {"zendra.fts", false, FILE_ATTRIBUTE_SYSTEM},
};

// The list: the installed files with a folder before its files, CR LF and LF lines,
// trailing blanks and tabs, blank lines, a missing entry, the templates that the setup
// writes, and entries that point outside the folder (on the same drive as C:).
const char kInstallationList[] =
    "docs\r\ndocs\\sub\nZendra.exe\r\nkzplng.dll \t\r\n\r\nKzp.txt\t\nlicense.txt   \n \t \r\n"
    "order.txt\r\nzendra.hlp\r\ndocs\\readme.txt\r\ndocs\\sub\\deep.txt\ndocs\\\x81\x5c.txt\r\n\n"
    "missing.txt\r\nkzpnew.dat\r\nzipnew.dat\r\n..\\removal-outside.txt\r\n"
    "docs\\..\\..\\removal-outside.txt\r\nC:\\removal-outside-absolute.txt\r\n\\removal-outside-root.txt\r\n"
    "\\\\?\\C:\\removal-outside-absolute.txt\r\n..\\removal-sibling\\keep.txt";

}  // namespace

std::vector<std::string> RemovalInstallation::ListedPaths() const {
  std::vector<std::string> paths = {Program(),          File("Zendra.exe"),
                                    File("kzplng.dll"), File("Uninstall.lst"),
                                    File("kzpnew.dat"), File("zipnew.dat")};
  for (const Item& item : kItems) paths.push_back(File(item.path));
  return paths;
}

RemovalInstallation MakeRemovalInstallation(const std::string& folder, bool withLanguageLibrary,
                                            bool withList) {
  RemovalInstallation installation{{folder}};
  CreateDirectoryA(folder.c_str(), nullptr);
  CopyPrograms(installation);
  if (withLanguageLibrary)
    CopyFileA(WindowsPath(kLanguageLibrary).c_str(), installation.File("kzplng.dll").c_str(), FALSE);
  for (const Item& item : kItems) {
    if (item.folder) {
      CreateDirectoryA(installation.File(item.path).c_str(), nullptr);
    } else {
      WriteFileBytes(installation.File(item.path), std::string("installed file ") + item.path + "\r\n");
    }
  }
  // The list, too, may be read-only.
  if (withList) {
    WriteFileBytes(installation.File("Uninstall.lst"), kInstallationList);
    SetFileAttributesA(installation.File("Uninstall.lst").c_str(), FILE_ATTRIBUTE_READONLY);
  }
  // Attributes last: a read-only folder still takes its files first.
  for (const Item& item : kItems) SetFileAttributesA(installation.File(item.path).c_str(), item.attributes);
  return installation;
}

std::vector<std::string> OutsideFiles(const RemovalInstallation& installation) {
  std::string parent = installation.folder.substr(0, installation.folder.find_last_of('\\'));
  return {parent + "\\removal-outside.txt", parent + "\\removal-sibling\\keep.txt",
          "C:\\removal-outside-absolute.txt", "C:\\removal-outside-root.txt"};
}

void MakeOutsideFiles(const RemovalInstallation& installation) {
  for (const std::string& file : OutsideFiles(installation)) {
    CreateDirectoryA(file.substr(0, file.find_last_of('\\')).c_str(), nullptr);
    WriteFileBytes(file, "not the archiver's\r\n");
  }
}

int RunProgram(const RemovalInstallation& installation, const char* arguments,
               const std::vector<int>& answers, std::vector<BoxTexts>* boxes, test_support::Caller caller) {
  test_support::CallerTrace trace(caller);
  Process program;
  if (!program.Start(installation.Program(), arguments, installation.folder)) {
    ADD_FAILURE() << "cannot start " << installation.Program() << ": error " << GetLastError();
    return -2;
  }
  std::vector<BoxTexts> answered = AnswerMessageBoxes(program, answers, kTimeout);
  if (boxes != nullptr) *boxes = answered;
  return program.Wait(kTimeout);
}

std::string ExpectedBatch(const std::string& program, const std::string& folder, const std::string& batch,
                          bool ntFamily) {
  const std::string batchFolder = ntFamily ? batch.substr(0, batch.rfind('\\')) : "";
  std::string text;
  // Code page 936 is the OEM code page too.
  return ComposeBatchFile({program.c_str(), folder.c_str(), batch.c_str(), batchFolder.c_str()}, ntFamily,
                          SameCodePage(), &text)
             ? text
             : "<not composed>";
}

std::vector<std::string> BatchEntries() {
  std::vector<std::string> entries;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((TempFolder() + "Kzp*").c_str(), &found);
  for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
    entries.push_back(TempFolder() + found.cFileName);
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  return entries;
}

std::vector<std::string> BatchFiles() {
  std::vector<std::string> files;
  for (const std::string& entry : BatchEntries())
    files.push_back(
        GetFileAttributesA(entry.c_str()) & FILE_ATTRIBUTE_DIRECTORY ? entry + "\\" + kBatchFileName : entry);
  return files;
}

void ExtendList(const RemovalInstallation& installation, const std::string& first, const std::string& last) {
  const std::string list = installation.File("Uninstall.lst");
  SetFileAttributesA(list.c_str(), 0);
  WriteFileBytes(list, first + ReadFileBytes(list) + last);
}

std::vector<std::string> PendingRemovals() {
  std::string data;
  if (RawQuery(HKEY_LOCAL_MACHINE, kSessionManager, kPending, &data) != REG_MULTI_SZ) return {};
  std::vector<std::string> names;
  for (size_t at = 0, end; (end = data.find('\0', at)) != std::string::npos; at = end + 1)
    names.push_back(data.substr(at, end - at));
  // Pairs of a path ("\\??\\C:\\...") and its new name, empty for a removal.
  std::vector<std::string> removals;
  for (size_t i = 0; i + 1 < names.size() && !names[i].empty(); i += 2)
    if (names[i + 1].empty()) removals.push_back(names[i].substr(4));
  return removals;
}

void ClearPendingRemovals() {
  RawDeleteValue(HKEY_LOCAL_MACHINE, kSessionManager, kPending);
}

void Restart(test_support::Caller caller) {
  test_support::CallerTrace trace(caller);
  Process boot;
  EXPECT_TRUE(boot.Start("C:\\windows\\system32\\wineboot.exe", "-r"));
  EXPECT_EQ(0, boot.Wait(kTimeout));
}

FilesInUse::FilesInUse(const RemovalInstallation& installation, test_support::Caller caller)
    : folder(installation.File("shell")), held(folder + "\\held.txt"), libraryPath(folder + "\\kzpext.dll") {
  test_support::CallerTrace trace(caller);
  CreateDirectoryA(folder.c_str(), nullptr);
  WriteFileBytes(held, "a document\r\n");
  Reinstall();
  library.Reset(LoadLibraryA(libraryPath.c_str()));
  file.Reset(CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_TRUE(library && file.Get() != INVALID_HANDLE_VALUE) << "error " << GetLastError();
  ExtendList(installation, "", "\r\nshell\r\nshell\\held.txt\r\nshell\\kzpext.dll\r\n");
}

std::string FilesInUse::Aside() const {
  WIN32_FIND_DATAA found;
  HANDLE first = FindFirstFileA((folder + "\\~*").c_str(), &found);
  if (first == INVALID_HANDLE_VALUE) return "";
  FindClose(first);
  return folder + "\\" + found.cFileName;
}

void FilesInUse::Reinstall() const {
  CopyFileA(WindowsPath(kLanguageLibrary).c_str(), libraryPath.c_str(), FALSE);
}

InterpreterStandIn::InterpreterStandIn(const std::string& record, bool forward)
    : record_(record),
      path_(std::string(kToolsFolder) + "\\interpreter.exe"),
      savedComspec_(EnvironmentValue("COMSPEC")) {
  CreateDirectoryA(kToolsFolder, nullptr);
  CopyFileA(WindowsPath(kInterpreterStandIn).c_str(), path_.c_str(), FALSE);
  DeleteFileA(record_.c_str());
  DeleteFileA((record_ + ".bat").c_str());
  char system[MAX_PATH] = "";
  GetSystemDirectoryA(system, sizeof system);
  SetEnvironmentVariableA("COMSPEC", path_.c_str());
  SetEnvironmentVariableA("REMOVAL_RECORD", record_.c_str());
  SetEnvironmentVariableA("REMOVAL_FORWARD", forward ? (std::string(system) + "\\cmd.exe").c_str() : nullptr);
}

InterpreterStandIn::~InterpreterStandIn() {
  SetEnvironmentVariableA("COMSPEC", savedComspec_.empty() ? nullptr : savedComspec_.c_str());
  SetEnvironmentVariableA("REMOVAL_RECORD", nullptr);
  SetEnvironmentVariableA("REMOVAL_FORWARD", nullptr);
}

}  // namespace uninstall_test
