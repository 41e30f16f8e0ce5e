// Associations and shortcuts under Windows 98 mode (win98_main.cpp), in a prefix of its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "integration/Associations.h"
#include "integration/ProgramFolder.h"
#include "integration/Shortcuts.h"
#include "tests/integration_support.h"

using namespace uninstall_test;

namespace {

std::string ReadBinary(HKEY root, const std::string& key, const char* value) {
  std::string data;
  return RawQuery(root, key, value, &data) == REG_BINARY ? data : "<none>";
}

class IntegrationWin98Test : public IntegrationTest {
 protected:
  IntegrationWin98Test() : IntegrationTest("program") {}
};

TEST_F(IntegrationWin98Test, HundredVolumesAndTemplatesInTheRegistry) {
  SetAssociations(Taking({kGroupKzp, kGroupZip}, true));
  for (int n = 0; n < 100; ++n) EXPECT_EQ("Zendra", ReadText(HKEY_CLASSES_ROOT, Volume(n), "")) << Volume(n);
  EXPECT_EQ(ExpectedTemplate(true), ReadBinary(HKEY_CLASSES_ROOT, ".kzp\\ShellNew", "Data"));
  EXPECT_EQ(ExpectedTemplate(false), ReadBinary(HKEY_CLASSES_ROOT, ".zip\\ShellNew", "Data"));
  EXPECT_EQ("<none>", ReadText(HKEY_CLASSES_ROOT, ".kzp\\ShellNew", "FileName"));
  EXPECT_EQ(std::vector<std::string>{}, Existing({folder_ + "\\kzpnew.dat", folder_ + "\\zipnew.dat"}));

  SetAssociations(SetupOptions{});
  EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, ".kzp"));
  for (int n = 0; n < 100; ++n) EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, Volume(n))) << Volume(n);
}

TEST_F(IntegrationWin98Test, NoProgramGroupForAllUsers) {
  const std::string group = ShortcutPaths()[kUserGroup];
  const std::string commonGroup = ShortcutPaths()[kCommonGroup];
  ASSERT_NE(group, commonGroup);
  WriteFileBytes(folder_ + "\\Zendra.exe", "x");
  char groupPath[kPathSize] = "";
  SetShortcuts(Interface(false, false, true), groupPath, sizeof groupPath);
  EXPECT_EQ(group, groupPath);
  EXPECT_EQ(folder_ + "\\Zendra.exe", ReadShortcut(group + "\\Zendra.lnk").target);
  EXPECT_FALSE(FileExists(commonGroup));

  // Nor is one removed there.
  CreateDirectoryA(commonGroup.c_str(), nullptr);
  SetShortcuts(SetupOptions{});
  EXPECT_FALSE(FileExists(group));
  EXPECT_TRUE(FileExists(commonGroup));
  RemoveFolder(commonGroup);
}

}  // namespace
