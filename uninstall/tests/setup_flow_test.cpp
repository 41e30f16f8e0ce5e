// The setup flow of uninstall.exe driven through its real dialogs under Wine, in a
// prefix of its own; every test starts from a cleaned registry and fresh folders.
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/ComPtr.h"
#include "integration/AppEntries.h"
#include "resources/resource.h"
#include "tests/help_viewer.h"
#include "tests/language_support.h"
#include "tests/setup_support.h"
#include "test_caller.h"

using namespace uninstall_test;

namespace {

const char kOtherIsoOwner[] = "OtherBurner.Image";
const char kHoldEvent[] = "ZendraSetupTestHold";

const int kAssociationBoxes[] = {IDC_ASSOCIATE_KZP, IDC_ASSOCIATE_ZIP, IDC_ASSOCIATE_CAB, IDC_ASSOCIATE_ARJ,
                                 IDC_ASSOCIATE_LZH, IDC_ASSOCIATE_ACE, IDC_ASSOCIATE_TAR, IDC_ASSOCIATE_GZIP,
                                 IDC_ASSOCIATE_UUE, IDC_ASSOCIATE_BZ2, IDC_ASSOCIATE_JAR, IDC_ASSOCIATE_ISO};
const int kMenuItemBoxes[] = {IDC_MENU_EXTRACT_TO,         IDC_MENU_EXTRACT_HERE,  IDC_MENU_EXTRACT,
                              IDC_MENU_EXTRACT_SEPARATELY, IDC_MENU_OPEN_SFX,      IDC_MENU_ADD_TO,
                              IDC_MENU_ADD_ARCHIVE,        IDC_MENU_EMAIL_ARCHIVE, IDC_MENU_EMAIL_OPTIONS};

// A per-user option as stored, or -1 when it is not stored as a REG_DWORD.
long long StoredOption(const std::string& key, const char* value) {
  DWORD number = ReadNumber(HKEY_CURRENT_USER, std::string(kProductKey) + "\\" + key, value);
  return number == 0xFFFFFFFF ? -1LL : static_cast<long long>(number);
}

void StoreOption(const std::string& key, const char* value, DWORD number) {
  RawSetNumber(HKEY_CURRENT_USER, std::string(kProductKey) + "\\" + key, value, number);
}

// Check boxes as digits (1 = checked), in the order given.
template <size_t N>
std::string CheckedBoxes(HWND dialog, const int (&boxes)[N]) {
  std::string text;
  for (int box : boxes) text += IsChecked(dialog, box) ? '1' : '0';
  return text;
}

// The interface boxes 5113 to 5118 as digits, then "+" or "-" for each enabled context-menu box.
std::string InterfaceBoxes(HWND dialog) {
  std::string text;
  for (int box = IDC_DESKTOP_SHORTCUT; box <= IDC_MENU_ICONS; ++box)
    text += IsChecked(dialog, box) ? '1' : '0';
  text += ' ';
  for (int box : {IDC_CASCADED_MENU, IDC_MENU_ICONS}) text += IsEnabled(dialog, box) ? '+' : '-';
  return text;
}

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}
std::string ProgramGroup() {
  return ShortcutPaths()[kUserGroup];
}

int RunningArchivers() {
  int count = 0;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (lstrcmpiA(entry.szExeFile, "Zendra.exe") == 0) ++count;
  }
  CloseHandle(snapshot);
  return count;
}

class SetupFlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ole_.Initialized());  // for reading shortcuts back
    ResetSetupState(kOtherIsoOwner);
    installation_ = MakeInstallation();
    openers_ = RegisterOpeners();
    hold_ = CreateEventA(nullptr, TRUE, FALSE, kHoldEvent);
  }

  // Stand-ins started with the hold variable run until the test ends.
  void TearDown() override {
    SetEvent(hold_);
    WaitUntil([] { return RunningArchivers() == 0; });
    CloseHandle(hold_);
  }

  // Cancels the setup dialog by its close box; the program must end without the completion dialog.
  void CancelSetup(SetupProcess& setup, HWND dialog, test_support::Caller caller = {}) {
    test_support::CallerTrace trace(caller);
    PressCloseBox(dialog);
    bool sawDoneDialog = false;
    EXPECT_TRUE(WaitUntil([&] {
      sawDoneDialog = sawDoneDialog || setup.Find(kDoneDialog) != nullptr;
      return setup.HasExited();
    })) << "the program did not end after Cancel";
    EXPECT_FALSE(sawDoneDialog);
  }

  OleSession ole_;
  Installation installation_;
  Openers openers_;
  HANDLE hold_ = nullptr;
};

TEST_F(SetupFlowTest, FirstSetupShowsTheDefaultsAndCancelLeavesEverythingAsItWas) {
  SetupProcess setup(installation_, "/setup");
  ASSERT_TRUE(setup.Started());
  HWND dialog = setup.WaitFor(kSetupDialog);
  ASSERT_NE(nullptr, dialog);

  EXPECT_EQ("111111111110", CheckedBoxes(dialog, kAssociationBoxes)) << "another program owns .iso";
  EXPECT_EQ("001101 ++", InterfaceBoxes(dialog));

  HWND items = setup.OpenContextItems(dialog);
  ASSERT_NE(nullptr, items);
  EXPECT_EQ(dialog, GetWindow(items, GW_OWNER));
  EXPECT_EQ("111111111", CheckedBoxes(items, kMenuItemBoxes));
  ASSERT_TRUE(setup.CloseContextItems(items, IDCANCEL));

  CancelSetup(setup, dialog);
  EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, kProductKey)) << "Cancel stores nothing";
  EXPECT_EQ(std::string("<none>, ") + kOtherIsoOwner, ClassesOf({".kzp", ".iso"}));
  EXPECT_FALSE(FileExists(ProgramGroup()));
  EXPECT_TRUE(RecordedStarts(openers_.folders).empty()) << "no program group is opened after Cancel";
}

TEST_F(SetupFlowTest, StoredChoicesAreShownAndExplorerIntegrationGovernsTheMenuBoxes) {
  ResetSetupState("");  // nobody owns .iso: ISO is checked
  StoreOption("Setup\\.zip", "Set", 0);
  StoreOption("Setup\\.gz", "Set", 0);
  StoreOption("Setup\\Links", "Desktop", 1);
  StoreOption("Setup\\Links", "Programs", 0);
  StoreOption("Setup", "ShellExt", 0);
  StoreOption("Setup", "CascadedMenu", 1);
  StoreOption("Setup", "MenuIcons", 0);
  SetupProcess setup(installation_, "/setup");
  HWND dialog = setup.WaitFor(kSetupDialog);
  ASSERT_NE(nullptr, dialog);

  EXPECT_EQ("101111101111", CheckedBoxes(dialog, kAssociationBoxes));
  // The context-menu boxes are disabled and still show their stored state.
  EXPECT_EQ("100010 --", InterfaceBoxes(dialog));

  Click(dialog, IDC_SHELL_INTEGRATION);
  EXPECT_EQ("100110 ++", InterfaceBoxes(dialog));
  Click(dialog, IDC_SHELL_INTEGRATION);
  EXPECT_EQ("100010 --", InterfaceBoxes(dialog));

  // "Select all" checks the twelve association boxes and nothing else.
  Click(dialog, IDC_SELECT_ALL);
  EXPECT_EQ("111111111111", CheckedBoxes(dialog, kAssociationBoxes));
  EXPECT_EQ("100010 --", InterfaceBoxes(dialog));

  CancelSetup(setup, dialog);
  EXPECT_EQ(0, StoredOption("Setup\\.zip", "Set")) << "Cancel keeps the stored choices";
  EXPECT_EQ(-1, StoredOption("Setup\\.kzp", "Set"));
}

TEST_F(SetupFlowTest, OkInTheMenuItemsThenCancelStoresTheMenuItemsAndNothingElse) {
  SetupProcess setup(installation_, "/setup");
  HWND dialog = setup.WaitFor(kSetupDialog);
  ASSERT_NE(nullptr, dialog);
  HWND items = setup.OpenContextItems(dialog);
  ASSERT_NE(nullptr, items);
  Click(items, IDC_MENU_EXTRACT);
  Click(items, IDC_MENU_EMAIL_ARCHIVE);
  ASSERT_TRUE(setup.CloseContextItems(items, IDOK));
  Click(dialog, IDC_ASSOCIATE_ZIP);
  Click(dialog, IDC_DESKTOP_SHORTCUT);
  CancelSetup(setup, dialog);

  Snapshot expected = {{"|(key)", {REG_NONE, ""}},
                       {"\\Setup|(key)", {REG_NONE, ""}},
                       {"\\Setup\\MenuItems|(key)", {REG_NONE, ""}}};
  for (const std::string name : kMenuItemNames)
    expected["\\Setup\\MenuItems|" + name] = {REG_DWORD, DwordBytes(name != "Extr" && name != "EmailArc")};
  EXPECT_EQ(expected, TakeSnapshot(HKEY_CURRENT_USER, kProductKey));
  EXPECT_EQ("<none>", ReadText(HKEY_CLASSES_ROOT, ".zip", ""));
  EXPECT_FALSE(RawKeyExists(HKEY_LOCAL_MACHINE, kAppPathsKey));
  EXPECT_FALSE(FileExists(ShortcutPaths()[kDesktopShortcut]));

  // The next setup shows the stored items.
  SetupProcess again(installation_, "/setup");
  dialog = again.WaitFor(kSetupDialog);
  ASSERT_NE(nullptr, dialog);
  items = again.OpenContextItems(dialog);
  ASSERT_NE(nullptr, items);
  EXPECT_EQ("110111101", CheckedBoxes(items, kMenuItemBoxes));
  ASSERT_TRUE(again.CloseContextItems(items, IDCANCEL));
  CancelSetup(again, dialog);
}

TEST_F(SetupFlowTest, OkStoresAndAppliesTheChoicesThenTheCompletionDialogAndTheProgramGroupFollow) {
  SetupProcess setup(installation_, "/setup");
  HWND dialog = setup.WaitFor(kSetupDialog);
  ASSERT_NE(nullptr, dialog);
  Click(dialog, IDC_ASSOCIATE_ARJ);
  Click(dialog, IDC_DESKTOP_SHORTCUT);
  Click(dialog, IDC_CASCADED_MENU);
  Press(dialog, IDOK);
  HWND done = setup.WaitFor(kDoneDialog);
  ASSERT_NE(nullptr, done);
  EXPECT_EQ(nullptr, setup.Find(kSetupDialog));
  EXPECT_EQ(installation_.folder, ControlText(done, IDC_INSTALL_FOLDER));

  // Stored: what the boxes show, except ISO.
  EXPECT_EQ(1, StoredOption("Setup\\.kzp", "Set"));
  EXPECT_EQ(0, StoredOption("Setup\\.arj", "Set"));
  EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, std::string(kProductKey) + "\\Setup\\.iso"))
      << "the ISO choice is never stored";
  EXPECT_EQ(1, StoredOption("Setup\\Links", "Desktop"));
  EXPECT_EQ(0, StoredOption("Setup\\Links", "StartMenu"));
  EXPECT_EQ(1, StoredOption("Setup", "CascadedMenu"));

  // Applied: associations and classes, shell extension, App Paths and Uninstall entries, shortcuts.
  EXPECT_EQ(std::string("Zendra, Zendra, Zendra.ZIP, <none>, ") + kOtherIsoOwner,
            ClassesOf({".kzp", ".tbz", ".zip", ".arj", ".iso"}));
  EXPECT_EQ(Quoted(installation_.Archiver()) + " \"%1\"",
            ReadText(HKEY_CLASSES_ROOT, "Zendra\\shell\\open\\command", ""));
  EXPECT_EQ(kShellExtensionClassId, ReadText(HKEY_CLASSES_ROOT, kSharedHandlerKeys[0], ""));
  EXPECT_EQ(installation_.Archiver(), ReadText(HKEY_LOCAL_MACHINE, kAppPathsKey, ""));
  EXPECT_EQ(installation_.folder, ReadText(HKEY_LOCAL_MACHINE, kAppPathsKey, "Path"));
  EXPECT_EQ(Quoted(installation_.Program()), ReadText(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"));
  EXPECT_EQ(installation_.Archiver(), ReadShortcut(ShortcutPaths()[kDesktopShortcut]).target);
  EXPECT_FALSE(FileExists(ShortcutPaths()[kStartMenuShortcut]));
  EXPECT_EQ(installation_.Archiver(), ReadShortcut(ProgramGroup() + "\\Zendra.lnk").target);
  EXPECT_TRUE(RecordedStarts(openers_.folders).empty()) << "the group opens after the completion dialog";

  Press(done, IDOK);
  ASSERT_TRUE(setup.WaitForExit());
  ASSERT_TRUE(WaitUntil([&] { return RecordedStarts(openers_.folders).size() == 1; }));
  EXPECT_EQ(Quoted(ProgramGroup()), RecordedArguments(RecordedStarts(openers_.folders)[0]));
}

TEST_F(SetupFlowTest, SilentSetupAppliesWhatWasReadWithTheIsoRuleAndOpensTheProgramGroup) {
  StoreOption("Setup\\.zip", "Set", 0);
  StoreOption("Setup\\Links", "Desktop", 1);
  StoreOption("Setup", "ShellExt", 0);
  ASSERT_TRUE(SetupProcess(installation_, "/setup /s").WaitForExit())
      << "a silent setup needs nobody to press a button";
  EXPECT_EQ(std::string("Zendra, <none>, ") + kOtherIsoOwner, ClassesOf({".kzp", ".zip", ".iso"}))
      << "another program owns .iso";
  EXPECT_EQ(1, StoredOption("Setup\\.kzp", "Set")) << "what was read is stored";
  EXPECT_EQ(0, StoredOption("Setup\\.zip", "Set"));
  EXPECT_EQ(1, StoredOption("Setup\\Links", "Programs"));
  EXPECT_EQ(installation_.Archiver(), ReadShortcut(ShortcutPaths()[kDesktopShortcut]).target);
  EXPECT_FALSE(FileExists(ShortcutPaths()[kStartMenuShortcut]));
  EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, std::string("CLSID\\") + kShellExtensionClassId))
      << "Explorer integration is off";
  EXPECT_EQ("<none>", ReadText(HKEY_CLASSES_ROOT, kSharedHandlerKeys[0], ""));
  EXPECT_TRUE(FileExists(ProgramGroup() + "\\Zendra.lnk"));
  ASSERT_TRUE(WaitUntil([&] { return RecordedStarts(openers_.folders).size() == 1; }));
  EXPECT_EQ(Quoted(ProgramGroup()), RecordedArguments(RecordedStarts(openers_.folders)[0]));
  EXPECT_TRUE(RecordedStarts(installation_.Archiver()).empty()) << "the completion dialog closed by itself";

  // With nobody owning .iso, the archiver takes it.
  ResetSetupState("");
  ASSERT_TRUE(SetupProcess(installation_, "/setup /s").WaitForExit());
  EXPECT_EQ("Zendra, Zendra.ZIP", ClassesOf({".iso", ".zip"}));
}

TEST_F(SetupFlowTest, HelpButtonAndF1AskForTheTopicOfEachDialog) {
  HelpViewerStandIn viewer;
  SetupProcess setup(installation_, "/setup");
  HWND dialog = setup.WaitFor(kSetupDialog);
  ASSERT_NE(nullptr, dialog);

  // The help button, then F1: one request more each time.
  const auto askForHelp = [&](HWND window) {
    const size_t asked = viewer.Requests().size();
    Press(window, IDHELP);
    ASSERT_TRUE(WaitUntil([&] { return viewer.Requests().size() == asked + 1; }));
    TypeKeys(window, {VK_F1});
    ASSERT_TRUE(WaitUntil([&] { return viewer.Requests().size() == asked + 2; })) << "F1 asked for no topic";
  };
  askForHelp(dialog);
  HWND items = setup.OpenContextItems(dialog);
  ASSERT_NE(nullptr, items);
  askForHelp(items);
  PumpFor(300);

  EXPECT_EQ((std::vector<HelpRequest>{Topic(268), Topic(268), Topic(310), Topic(310)}), viewer.Requests())
      << "one request per press, none from the owner";
  ASSERT_TRUE(setup.CloseContextItems(items, IDCANCEL));
  CancelSetup(setup, dialog);
}

TEST_F(SetupFlowTest, CompletionDialogStartsTheArchiverAndOpensHelpAndDocuments) {
  HelpViewerStandIn viewer;
  // The completion dialog names the current directory and starts its files, wherever the program lies.
  const Installation current{installation_.folder + "\\current"};
  ASSERT_TRUE(CreateDirectoryA(current.folder.c_str(), nullptr));
  for (const char* name : {"Zendra.exe", "license.txt", "order.txt"})
    ASSERT_TRUE(CopyFileA(installation_.File(name).c_str(), current.File(name).c_str(), FALSE));
  // The archivers started stay running until the test ends.
  SetEnvironmentVariableA("STANDIN_HOLD", kHoldEvent);
  SetupProcess setup(installation_, "/setup", current.folder);
  SetEnvironmentVariableA("STANDIN_HOLD", nullptr);
  HWND dialog = setup.WaitFor(kSetupDialog);
  ASSERT_NE(nullptr, dialog);
  Press(dialog, IDOK);
  HWND done = setup.WaitFor(kDoneDialog);
  ASSERT_NE(nullptr, done);
  EXPECT_EQ(current.folder, ControlText(done, IDC_INSTALL_FOLDER));

  // Each press starts another archiver; none is waited for.
  for (size_t presses = 1; presses <= 3; ++presses) {
    Press(done, IDC_RUN_ARCHIVER);
    ASSERT_TRUE(WaitUntil([&] { return RecordedStarts(current.Archiver()).size() == presses; }));
  }
  EXPECT_EQ(3, RunningArchivers());
  for (const std::string& start : RecordedStarts(current.Archiver())) {
    EXPECT_EQ("", RecordedArguments(start));
    EXPECT_EQ(current.folder, RecordedFolder(start));
  }

  const std::pair<int, const char*> documents[] = {{IDC_VIEW_LICENSE, "license.txt"},
                                                   {IDC_PRICE_LIST, "order.txt"}};
  for (size_t i = 0; i < 2; ++i) {
    const auto& [button, document] = documents[i];
    Press(done, button);
    ASSERT_TRUE(WaitUntil([&] { return RecordedStarts(openers_.documents).size() == i + 1; }));
    EXPECT_EQ(Quoted(current.File(document)), RecordedArguments(RecordedStarts(openers_.documents)[i]));
  }

  Press(done, IDC_HOME_PAGE);
  ASSERT_TRUE(WaitUntil([&] { return RecordedStarts(openers_.webPages).size() == 1; }));
  EXPECT_EQ(Quoted("https://www.zendra-archiver.example/"),
            RecordedArguments(RecordedStarts(openers_.webPages)[0]));

  Press(done, IDC_READ_HELP);
  ASSERT_TRUE(WaitUntil([&] { return viewer.Requests().size() == 1; }));
  EXPECT_EQ(static_cast<UINT>(HELP_FINDER), viewer.Requests()[0].command);
  EXPECT_EQ("zendra.hlp", viewer.Requests()[0].file);
  TypeKeys(done, {VK_F1});
  PumpFor(500);
  EXPECT_EQ(1u, viewer.Requests().size()) << "the completion dialog has no help topic";
  EXPECT_EQ(done, setup.Find(kDoneDialog)) << "the buttons leave the dialog open";

  // The close box ends the dialog like the finish button; the group opens afterwards.
  EXPECT_TRUE(RecordedStarts(openers_.folders).empty());
  PressCloseBox(done);
  EXPECT_TRUE(setup.WaitForExit());
  EXPECT_TRUE(WaitUntil([&] { return RecordedStarts(openers_.folders).size() == 1; }));
}

// The language file beside the program scales SETUPDLG by its entry and mirrors all three dialogs.
TEST_F(SetupFlowTest, LanguageFileScalesTheSetupDialogAndMirrorsEveryDialog) {
  RECT plain = {};
  for (bool scaled : {false, true}) {
    SCOPED_TRACE(scaled ? "scaled" : "plain");
    if (scaled) WriteFileBytes(installation_.File("uninstall.lng"), ScalingLanguageFile());
    SetupProcess setup(installation_, "/setup");
    HWND dialog = setup.WaitFor(kSetupDialog);
    ASSERT_NE(nullptr, dialog);
    RECT client;
    GetClientRect(dialog, &client);
    if (!scaled) plain = client;
    EXPECT_NEAR(plain.right * (scaled ? 120 : 100) / 100, client.right, 1);
    EXPECT_NEAR(plain.bottom, client.bottom, 1);
    EXPECT_EQ(0, GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
    CancelSetup(setup, dialog);
  }

  WriteFileBytes(installation_.File("uninstall.lng"), RightToLeftLanguageFile());
  SetupProcess setup(installation_, "/setup");
  HWND dialog = setup.WaitFor(kSetupDialog);
  ASSERT_NE(nullptr, dialog);
  EXPECT_NE(0, GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
  HWND items = setup.OpenContextItems(dialog);
  ASSERT_NE(nullptr, items);
  EXPECT_NE(0, GetWindowLongA(items, GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
  ASSERT_TRUE(setup.CloseContextItems(items, IDCANCEL));
  Press(dialog, IDOK);
  HWND done = setup.WaitFor(kDoneDialog);
  ASSERT_NE(nullptr, done);
  EXPECT_NE(0, GetWindowLongA(done, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) << done << DescribeDialogs(setup.Id());
  Press(done, IDOK);
  EXPECT_TRUE(setup.WaitForExit());
}

}  // namespace
