// The uninstall end to end under Wine: a fake installation set up with "/setup /s" is
// removed by the program started without a switch, its confirmation answered as a user
// would, and the self-removal batch run by the command interpreter.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/WinHandles.h"
#include "integration/AppEntries.h"
#include "tests/removal_support.h"
#include "tests/setup_support.h"

using namespace uninstall_test;

namespace {

// A key that the setup made and the uninstall leaves, empty: a shared handler key, the
// key above the property sheet handler of programs (as a system that has them already
// would keep them), or a key on the way to one.
bool IsKeptKey(const std::string& difference) {
  std::vector<std::string> kept(std::begin(kSharedHandlerKeys), std::end(kSharedHandlerKeys));
  kept.push_back(kProgramSheetHandlers);
  for (const std::string& key : kept) {
    // The key itself, then each key above it.
    for (size_t end = key.size(); end != std::string::npos; end = key.rfind('\\', end - 1))
      if (lstrcmpiA(difference.c_str(), ("+ HKCR\\" + key.substr(0, end) + "|(key)").c_str()) == 0)
        return true;
  }
  return false;
}

// Another program owns ".zip" (class, content type, New-menu file) and ".iso".
void LetAnotherProgramOwnZipAndIso() {
  RawSetText(HKEY_CLASSES_ROOT, ".zip", "", "OtherZip.Archive");
  RawSetText(HKEY_CLASSES_ROOT, ".zip", "Content Type", "application/x-other-zip");
  RawSetText(HKEY_CLASSES_ROOT, ".zip\\ShellNew", "FileName", "C:\\other\\empty.zip");
  RawSetText(HKEY_CLASSES_ROOT, "OtherZip.Archive", "", "Other ZIP archive");
  RawSetText(HKEY_CLASSES_ROOT, ".iso", "", "OtherIso.Image");
  RawSetText(HKEY_CLASSES_ROOT, ".iso", "Content Type", "application/x-iso9660-image");
  RawSetText(HKEY_CLASSES_ROOT, ".iso\\ShellNew", "NullFile", "");
  RawSetText(HKEY_CLASSES_ROOT, "OtherIso.Image", "", "Other disc image");
}

void ChooseEveryShortcut() {
  for (const char* value : {"Desktop", "StartMenu", "Programs"})
    RawSetNumber(HKEY_CURRENT_USER, std::string(kProductKey) + "\\Setup\\Links", value, 1);
}

class Removal : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(936u, GetACP());
    // The folder opener that the setup starts at its end is a stand-in, not a window.
    RegisterOpeners();
    registry_ = RegistrySnapshot();
  }
  void TearDown() override {
    ClearPendingRemovals();
    RestoreRegistry(registry_, FootprintPlaces());
    if (!folder_.empty()) RemoveFolder(folder_);
    for (const std::string& entry : BatchEntries()) RemoveFolder(entry), DeleteFileA(entry.c_str());
  }
  static Snapshot RegistrySnapshot() { return TakeSnapshot(FootprintPlaces()); }
  // A fake installation set up silently, as the archiver's installer would.
  RemovalInstallation InstallAndSetUp(const std::string& folder, bool withLanguageLibrary = true,
                                      bool withList = true, test_support::Caller caller = {}) {
    test_support::CallerTrace trace(caller);
    if (folder.size() > 3) folder_ = folder;
    RemovalInstallation installation = MakeRemovalInstallation(folder, withLanguageLibrary, withList);
    EXPECT_EQ(0, RunProgram(installation, "/setup /s"));
    EXPECT_EQ("Zendra.ZIP", ReadText(HKEY_CLASSES_ROOT, ".zip", "")) << "the setup ran";
    EXPECT_TRUE(FileExists(installation.File("zipnew.dat")));
    return installation;
  }
  // Waits for the batch to remove the program, its folder (unless it is a root or still
  // holds files) and itself; a final notice ("/warning") fails the test and is pressed away.
  void ExpectBatchFinished(const RemovalInstallation& installation, bool folderGoes = true,
                           test_support::Caller caller = {}) {
    test_support::CallerTrace trace(caller);
    std::vector<std::string> gone = installation.ListedPaths();
    if (installation.folder.size() > 3 && folderGoes) gone.push_back(installation.folder);
    const bool finished = WaitUntil(
        [&] {
          if (HWND notice = FindFinalNotice()) {
            ADD_FAILURE() << "final notice: " << ReadMessageBox(notice).text;
            Press(notice, IDOK);
          }
          return Existing(gone).empty() && BatchEntries() == batches_;
        },
        kTimeout);
    EXPECT_TRUE(finished) << "still there: " << ::testing::PrintToString(Existing(gone))
                          << ::testing::PrintToString(BatchEntries());
  }
  // The batch that started the final notice `notice` (its only file in the temporary folder) as the
  // uninstall started it: by the system's interpreter, hidden, outside the program's folder.
  static void ExpectBatchStartedHidden(HWND notice, const RemovalInstallation& installation,
                                       test_support::Caller caller = {}) {
    test_support::CallerTrace trace(caller);
    DWORD warning = 0;
    GetWindowThreadProcessId(notice, &warning);
    ProcessStart batch;
    ASSERT_TRUE(ReadProcessStart(ParentProcessId(warning), &batch));
    const std::vector<std::string> files = BatchFiles();
    ASSERT_EQ(1u, files.size());
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, sizeof system);
    EXPECT_EQ("\"" + std::string(system) + "\\cmd.exe\" /d /s /c \"\"" + files[0] + "\" & rd \"" +
                  files[0].substr(0, files[0].rfind('\\')) + "\"\"",
              batch.commandLine);
    EXPECT_EQ("C:\\", batch.directory);
    EXPECT_EQ(static_cast<DWORD>(STARTF_USESHOWWINDOW), batch.flags);
    EXPECT_EQ(static_cast<DWORD>(SW_HIDE), batch.show);
    EXPECT_EQ(ExpectedBatch(installation.Program(), installation.folder, files[0], true),
              ReadFileBytes(files[0]));
  }
  static HWND FindFinalNotice() {
    return FindWindowOf(0, "#32770", [](HWND box) { return WindowText(box) == Ansi("卸载 Zendra"); });
  }
  // Ends an uninstall during its passes, once the archiver (listed first) is gone: the missing entries
  // after it leave the time. The rest is still there, and so is the entry that starts the uninstall.
  void EndDuringThePasses(const RemovalInstallation& installation, test_support::Caller caller = {}) {
    test_support::CallerTrace trace(caller);
    std::string first = "Zendra.exe\r\n";
    for (int i = 0; i < 4000; ++i) first += "missing\\" + std::to_string(i) + "\r\n";
    ExtendList(installation, first, "");
    Process program;
    ASSERT_TRUE(program.Start(installation.Program(), "", installation.folder));
    EXPECT_EQ(1u, AnswerMessageBoxes(program, {IDYES}).size());
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(installation.Archiver()); }, kTimeout));
    program.End();
    ASSERT_TRUE(FileExists(installation.File("kzplng.dll"))) << "ended after the passes";
    EXPECT_TRUE(RawKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    // The batch that was never started stays; the next one has a name of its own.
    batches_ = BatchEntries();
    EXPECT_EQ(1u, batches_.size());
  }

  std::vector<std::string> batches_;
  std::string folder_;
  Snapshot registry_;
};

// The uninstall whole, and ended during its passes (the list is still there) and started again.
class RemovalRun : public Removal, public ::testing::WithParamInterface<bool> {};
INSTANTIATE_TEST_SUITE_P(WholeOrEndedAndStartedAgain, RemovalRun, ::testing::Bool());

TEST_P(RemovalRun, SetupThenUninstallRemovesTheArchiverAndLeavesTheSystemAsBefore) {
  LetAnotherProgramOwnZipAndIso();
  Snapshot before = RegistrySnapshot();
  ChooseEveryShortcut();
  RemovalInstallation installation = InstallAndSetUp("C:\\Program Files\\Zendra " + Ansi("压缩"));
  MakeOutsideFiles(installation);
  ASSERT_EQ(ShortcutPaths(), Existing(ShortcutPaths()));
  EXPECT_EQ("OtherIso.Image", ReadText(HKEY_CLASSES_ROOT, ".iso", "")) << "another program keeps .iso";

  // Planted as COMSPEC, never started: the system's interpreter runs the batch.
  InterpreterStandIn interpreter("C:\\removal-tools\\record-setup", false);
  if (GetParam()) EndDuringThePasses(installation);
  std::vector<BoxTexts> boxes;
  EXPECT_EQ(0, RunProgram(installation, "", {IDYES}, &boxes));
  ASSERT_EQ(1u, boxes.size());
  // The caption comes from the language library, the question from the program.
  EXPECT_EQ(Ansi("库：卸载 Zendra"), boxes[0].caption);
  EXPECT_EQ(Ansi("确实要卸载 Zendra 吗?"), boxes[0].text);
  ExpectBatchFinished(installation);

  EXPECT_EQ("<none>", interpreter.Recorded("command"));

  // Nothing outside the folder was touched, whatever the list named.
  EXPECT_EQ(OutsideFiles(installation), Existing(OutsideFiles(installation)));
  EXPECT_TRUE(FileExists("C:\\Program Files"));
  EXPECT_TRUE(Existing(ShortcutPaths()).empty()) << ::testing::PrintToString(Existing(ShortcutPaths()));
  EXPECT_EQ(std::vector<std::string>{}, PendingRemovals()) << "nothing was in use";

  // The extensions belong to their earlier owners again and the archiver's keys are gone: the registry
  // is as before, apart from the empty handler keys.
  EXPECT_EQ("OtherZip.Archive", ReadText(HKEY_CLASSES_ROOT, ".zip", ""));
  EXPECT_EQ("application/x-other-zip", ReadText(HKEY_CLASSES_ROOT, ".zip", "Content Type"));
  EXPECT_EQ("C:\\other\\empty.zip", ReadText(HKEY_CLASSES_ROOT, ".zip\\ShellNew", "FileName"));
  EXPECT_EQ("OtherIso.Image", ReadText(HKEY_CLASSES_ROOT, ".iso", ""));
  EXPECT_EQ("", ReadText(HKEY_CLASSES_ROOT, ".iso\\ShellNew", "NullFile"));
  std::vector<std::string> unexpected = Differences(before, RegistrySnapshot());
  const size_t differences = unexpected.size();
  unexpected.erase(std::remove_if(unexpected.begin(), unexpected.end(), IsKeptKey), unexpected.end());
  EXPECT_EQ(std::vector<std::string>{}, unexpected);
  EXPECT_GE(differences - unexpected.size(), 6u) << "kept keys";
}

// Without administrator rights (a build whose machine-wide keys refuse changes) the setup and the uninstall say
// so, a silent setup says nothing, and nothing changes: the per-user records of the earlier owners stay.
TEST_F(Removal, WithoutTheRightsTheSetupAndTheUninstallChangeNothing) {
  const struct { const char* arguments; const char* caption; } kRuns[] = {
      {"/setup", "Zendra 压缩文件管理器"}, {"/setup /s", nullptr}, {"", "库：卸载 Zendra"}};
  for (const auto& run : kRuns) {
    SCOPED_TRACE(std::string("arguments: ") + run.arguments);
    // The uninstall after a setup with the rights; the setups where none was made.
    RemovalInstallation installation = run.arguments[0] == '\0' ? InstallAndSetUp("C:\\Zendra rights")
                                                                 : MakeRemovalInstallation("C:\\Zendra rights");
    ASSERT_TRUE(CopyFileA(WindowsPath(WITHOUT_RIGHTS_EXE).c_str(), installation.Program().c_str(), FALSE));
    const Snapshot before = RegistrySnapshot();
    const std::vector<std::string> files = Existing(installation.ListedPaths());
    std::vector<BoxTexts> boxes;
    EXPECT_EQ(0, RunProgram(installation, run.arguments, {IDOK}, &boxes));
    ASSERT_EQ(run.caption != nullptr ? 1u : 0u, boxes.size());
    if (run.caption != nullptr) {
      EXPECT_EQ(Ansi(run.caption) + "|" + Ansi("没有管理员权限，无法更改系统设置。未做任何更改。"),
                boxes[0].caption + "|" + boxes[0].text);
    }
    EXPECT_EQ(std::vector<std::string>{}, Differences(before, RegistrySnapshot()));
    EXPECT_EQ(files, Existing(installation.ListedPaths()));
    EXPECT_EQ(std::vector<std::string>{}, BatchEntries());
  }
}

// Explorer keeps the shell extension loaded and an editor holds a document: both go at the restart, then
// their folder and the program's; the library under a new name, so that a copy installed again before the
// restart stays. With the program file held as well, "/warning" schedules it and its folder; while its
// notice waits, so does the batch, whose interpreter is the system's, though COMSPEC names a planted one.
TEST_F(Removal, FilesInUseGoAtTheRestartAndALibraryInstalledAgainStays) {
  InterpreterStandIn planted("C:\\removal-tools\\record-in-use", false);
  for (const bool again : {false, true}) {
    SCOPED_TRACE(again ? "installed again" : "program held");
    RemovalInstallation installation = InstallAndSetUp("C:\\Zendra in use");
    FilesInUse inUse(installation);
    KernelHandle program(again ? nullptr
                               : CreateFileA(installation.Program().c_str(), GENERIC_READ, FILE_SHARE_READ,
                                             nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_EQ(0, RunProgram(installation, "", {IDYES}));
    const std::string aside = inUse.Aside();
    std::vector<std::string> expected = {inUse.held, aside, inUse.folder, installation.folder};
    if (again) {
      ExpectBatchFinished(installation, false);
      inUse.Reinstall();
    } else {
      HWND notice = nullptr;
      ASSERT_TRUE(WaitUntil([&] { return (notice = FindFinalNotice()) != nullptr; }, kTimeout));
      EXPECT_EQ(Ansi("卸载已完成\n你应该手动删除 ") + installation.Program(), ReadMessageBox(notice).text);
      ExpectBatchStartedHidden(notice, installation);
      // The notice's process runs from the program file: only once it has ended can the restart delete it.
      DWORD warning = 0;
      GetWindowThreadProcessId(notice, &warning);
      KernelHandle warningProcess(OpenProcess(SYNCHRONIZE, FALSE, warning));
      Press(notice, IDOK);
      EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(warningProcess.Get(), kTimeout));
      expected.insert(expected.end(), {installation.Program(), installation.folder});
    }
    EXPECT_EQ(expected, PendingRemovals());
    program.Reset();
    inUse.Release();
    Restart();
    const std::vector<std::string> left = {inUse.libraryPath, installation.folder};
    EXPECT_EQ(again ? left : std::vector<std::string>{},
              Existing({inUse.held, aside, inUse.libraryPath, installation.folder}));
  }
  EXPECT_EQ("<none>", planted.Recorded("command"));
}

// Declined, or confirmed where the batch could not be written (the temporary folder is missing): nothing
// changes.
TEST_F(Removal, DecliningOrNoWayToStartTheBatchChangesNothing) {
  RemovalInstallation installation = InstallAndSetUp("C:\\Zendra declined");
  Snapshot registry = RegistrySnapshot();
  InterpreterStandIn interpreter("C:\\removal-tools\\record-declined", false);
  const struct {
    int answer;
    const char* variable;
    std::string value;
  } cases[] = {
      {IDNO, "COMSPEC", interpreter.Path()},
      {IDYES, "TMP", "C:\\no such folder"},
  };
  for (const auto& c : cases) {
    const std::string saved = EnvironmentValue(c.variable);
    SetEnvironmentVariableA(c.variable, c.value.c_str());
    std::vector<BoxTexts> boxes;
    EXPECT_EQ(0, RunProgram(installation, "", {c.answer}, &boxes)) << c.value;
    SetEnvironmentVariableA(c.variable, saved.empty() ? nullptr : saved.c_str());
    EXPECT_EQ(1u, boxes.size());
    EXPECT_EQ(installation.ListedPaths(), Existing(installation.ListedPaths())) << c.value;
    EXPECT_EQ(std::vector<std::string>(), Differences(registry, RegistrySnapshot())) << c.value;
    EXPECT_EQ(std::vector<std::string>{}, BatchEntries());
    EXPECT_EQ("<none>", interpreter.Recorded("command"));
  }
}

TEST_F(Removal, AMissingListIsReportedByNameAndChangesNothing) {
  // Without the library the texts are the program's own.
  RemovalInstallation installation = InstallAndSetUp("C:\\Zendra unlisted", false, false);
  Snapshot registry = RegistrySnapshot();
  InterpreterStandIn interpreter("C:\\removal-tools\\record-unlisted", false);
  std::vector<BoxTexts> boxes;
  EXPECT_EQ(0, RunProgram(installation, "", {IDYES, IDOK}, &boxes));
  ASSERT_EQ(2u, boxes.size());
  EXPECT_EQ(Ansi("卸载 Zendra"), boxes[0].caption);
  EXPECT_EQ(Ansi("卸载 Zendra"), boxes[1].caption);
  EXPECT_EQ(Ansi("无法打开列表文件 Uninstall.lst"), boxes[1].text);

  std::vector<std::string> kept = installation.ListedPaths();
  for (const char* never : {"kzplng.dll", "Uninstall.lst"})
    kept.erase(std::remove(kept.begin(), kept.end(), installation.File(never)), kept.end());
  EXPECT_EQ(kept, Existing(installation.ListedPaths()));
  EXPECT_EQ(std::vector<std::string>(), Differences(registry, RegistrySnapshot()));
  EXPECT_EQ(std::vector<std::string>{}, BatchEntries());
  EXPECT_EQ("<none>", interpreter.Recorded("command"));
}

TEST_F(Removal, AtTheRootOfADriveTheListIsAppendedToTheRootAndTheRootStays) {
  // Drive R: is a folder of drive C:, made a drive the way Wine keeps its drives.
  const std::string target = "C:\\removal-drive-r";
  folder_ = target;
  ASSERT_TRUE(CreateDirectoryA(target.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  const std::string prefix = EnvironmentValue("WINEPREFIX");
  ASSERT_NE("", prefix);
  Process link;
  ASSERT_TRUE(
      link.StartCommandLine("/bin/ln -sfn ../drive_c/removal-drive-r \"" + prefix + "/dosdevices/r:\""));
  link.Wait();
  ASSERT_TRUE(WaitUntil([] { return GetDriveTypeA("R:\\") == DRIVE_FIXED; }, 10000));

  RemovalInstallation installation = InstallAndSetUp("R:\\");
  ASSERT_TRUE(FileExists(target + "\\docs\\sub\\deep.txt"));
  EXPECT_EQ(0, RunProgram(installation, "", {IDYES}));
  ExpectBatchFinished(installation);
  EXPECT_TRUE(FileExists(target));
}

TEST_F(Removal, PercentSignsInTheFolderNameAreTakenLiterallyByTheBatch) {
  // Unescaped, %TEMP% would name the temporary folder and %1 the batch's argument.
  RemovalInstallation installation = InstallAndSetUp("C:\\Zendra %TEMP% 100%1");
  // The real command interpreter, as the system has it.
  EXPECT_EQ(0, RunProgram(installation, "", {IDYES}));
  ExpectBatchFinished(installation);
}

// What others may have put where the batch used to lie (a hard link to another file, a file), and a
// temporary folder whose path the interpreter would cut without "/s": the planted files keep their
// content, and the uninstall completes.
TEST_F(Removal, WhatStandsInTheTemporaryFolderNeitherTakesTheBatchNorStopsIt) {
  const std::string victim = "C:\\removal-victim.txt", hostile = "C:\\removal t&x (y)", temp = hostile + "\\";
  const std::string formerName = TempFolder() + "Uninstall_Kzp.Bat";
  const struct {
    const char* name;
    bool link;
    const char* temp;
  } cases[] = {
      {"hard link", true, nullptr}, {"file", false, nullptr}, {"temporary folder", false, temp.c_str()}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RemovalInstallation installation = InstallAndSetUp("C:\\Zendra planted");
    WriteFileBytes(victim, "victim\r\n");
    EXPECT_TRUE(c.link ? CreateHardLinkA(formerName.c_str(), victim.c_str(), nullptr)
                       : WriteFileBytes(formerName, "planted\r\n"));
    const std::string savedTemp = EnvironmentValue("TMP");
    if (c.temp != nullptr) CreateDirectoryA(c.temp, nullptr), SetEnvironmentVariableA("TMP", c.temp);
    EXPECT_EQ(0, RunProgram(installation, "", {IDYES}));
    ExpectBatchFinished(installation);
    SetEnvironmentVariableA("TMP", savedTemp.empty() ? nullptr : savedTemp.c_str());
    EXPECT_EQ("victim\r\n", ReadFileBytes(victim));
    EXPECT_EQ(c.link ? "victim\r\n" : "planted\r\n", ReadFileBytes(formerName));
    DeleteFileA(formerName.c_str());
  }
  RemoveFolder(hostile);
  DeleteFileA(victim.c_str());
}

}  // namespace
