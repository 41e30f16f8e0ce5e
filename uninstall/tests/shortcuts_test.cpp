// Shortcuts and program groups in Wine's shell folders (a prefix of its own), each read
// back through IShellLinkA and IPersistFile.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "TestThread.h"
#include "integration/ProgramFolder.h"
#include "integration/Shortcuts.h"
#include "tests/integration_support.h"
#include "test_caller.h"

using namespace uninstall_test;

namespace {

class ShortcutsTest : public IntegrationTest {
 protected:
  void SetUp() override {
    IntegrationTest::SetUp();
    WriteArchiverFiles(folder_);
    ASSERT_NE(group_, commonGroup_);
  }
  // The files that the shortcuts name.
  static void WriteArchiverFiles(const std::string& folder) {
    for (const char* file : {"Zendra.exe", "Zendra.hlp", "Kzp.txt"})
      WriteFileBytes(folder + "\\" + file, "x");
  }
  static void ExpectShortcut(const std::string& file, const std::string& target,
                             test_support::Caller caller = {}) {
    test_support::CallerTrace trace(caller);
    ShortcutFields fields = ReadShortcut(file);
    ASSERT_TRUE(fields.loaded) << file;
    EXPECT_EQ(target, fields.target) << file;
    EXPECT_EQ("Zendra", fields.description) << file;
  }
  static void ExpectGroup(const std::string& group, const std::string& folder,
                          test_support::Caller caller = {}) {
    test_support::CallerTrace trace(caller);
    ExpectShortcut(group + "\\Zendra.lnk", folder + "\\Zendra.exe");
    ExpectShortcut(group + "\\" + Ansi(u8"Zendra 中文帮助") + ".lnk", folder + "\\Zendra.hlp");
    ExpectShortcut(group + "\\" + Ansi(u8"控制台 KZP 中文手册") + ".lnk", folder + "\\Kzp.txt");
  }

  const std::vector<std::string> paths_ = ShortcutPaths();
  const std::string& desktop_ = paths_[kDesktopShortcut];
  const std::string& startMenu_ = paths_[kStartMenuShortcut];
  const std::string& group_ = paths_[kUserGroup];
  const std::string& commonGroup_ = paths_[kCommonGroup];
};

TEST_F(ShortcutsTest, EveryShortcutIsMadeAndTheUserGroupHandedBack) {
  char groupPath[kPathSize];
  memset(groupPath, 'x', sizeof groupPath);
  SetShortcuts(Interface(true, true, true), groupPath, sizeof groupPath);
  ExpectShortcut(desktop_, folder_ + "\\Zendra.exe");
  ExpectShortcut(startMenu_, folder_ + "\\Zendra.exe");
  ExpectGroup(group_, folder_);
  EXPECT_EQ(group_, groupPath) << "the per-user group, not the one for all users";
  ExpectGroup(commonGroup_, folder_);
}

TEST_F(ShortcutsTest, OnlyTheChosenPlacesGetShortcuts) {
  char groupPath[kPathSize] = "";
  SetShortcuts(Interface(false, true, false), groupPath, sizeof groupPath);
  ExpectShortcut(startMenu_, folder_ + "\\Zendra.exe");
  EXPECT_EQ(std::vector<std::string>{}, Existing({desktop_, group_, commonGroup_}));
  EXPECT_STREQ("", groupPath) << "nothing handed back without a group";
}

TEST_F(ShortcutsTest, SecondSetupReplacesTheShortcutFiles) {
  SetShortcuts(Interface(true, true, true));
  WriteFileBytes(desktop_, "not a shortcut");
  std::string moved = MakeProgramFolder("moved");
  WriteArchiverFiles(moved);
  SetShortcuts(Interface(true, true, true));
  ExpectShortcut(desktop_, moved + "\\Zendra.exe");
  ExpectShortcut(startMenu_, moved + "\\Zendra.exe");
  ExpectGroup(group_, moved);
  ExpectGroup(commonGroup_, moved);
}

TEST_F(ShortcutsTest, SwitchedOffRemovesShortcutsAndBothGroupsWithTheirContents) {
  SetShortcuts(Interface(true, true, true));
  for (const std::string& group : {group_, commonGroup_}) {
    WriteFileBytes(group + "\\notes.txt", "added by the user");
    CreateDirectoryA((group + "\\more").c_str(), nullptr);
    WriteFileBytes(group + "\\more\\deep.txt", "deeper");
  }
  char groupPath[kPathSize] = "unchanged";
  SetShortcuts(SetupOptions{}, groupPath, sizeof groupPath);
  EXPECT_EQ(std::vector<std::string>{}, Existing(paths_));
  EXPECT_STREQ("unchanged", groupPath);
  // Nothing left to remove: the second pass fails quietly.
  SetShortcuts(SetupOptions{});
  EXPECT_FALSE(FileExists(group_));
}

TEST_F(ShortcutsTest, GroupPathThatDoesNotFitIsHandedBackEmpty) {
  char small[8];
  memset(small, 'x', sizeof small);
  SetShortcuts(Interface(false, false, true), small, sizeof small);
  EXPECT_EQ('\0', small[0]);
  ExpectGroup(group_, folder_);
}

TEST_F(ShortcutsTest, DeleteFolderTreeReportsWhetherTheFolderWent) {
  std::string tree = root_ + "\\tree";
  CreateDirectoryA(tree.c_str(), nullptr);
  CreateDirectoryA((tree + "\\sub").c_str(), nullptr);
  WriteFileBytes(tree + "\\sub\\file.txt", "x");
  SetFileAttributesA((tree + "\\sub\\file.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(DeleteFolderTree(tree.c_str()));
  EXPECT_FALSE(FileExists(tree));
  EXPECT_FALSE(DeleteFolderTree(tree.c_str())) << "a missing folder";
  EXPECT_FALSE(DeleteFolderTree((root_ + "\\" + std::string(kPathSize, 'a')).c_str()));
}

TEST_F(ShortcutsTest, CreateShellLinkFailsCleanlyWithoutCom) {
  const std::string file = root_ + "\\nocom.lnk";
  bool created = true;
  // A thread of its own has no COM until it initialises it.
  TestThread worker(
      [&] { created = CreateShellLink((folder_ + "\\Zendra.exe").c_str(), file.c_str(), "Zendra"); });
  worker.Join();
  EXPECT_FALSE(created);
  EXPECT_FALSE(FileExists(file));
  EXPECT_TRUE(CreateShellLink((folder_ + "\\Zendra.exe").c_str(), file.c_str(), "Zendra"));
  ExpectShortcut(file, folder_ + "\\Zendra.exe");
}

}  // namespace
