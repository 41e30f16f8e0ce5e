// uninstall.exe without administrator rights, played by a build whose machine-wide keys
// refuse changes: the setup and the uninstall say so and change nothing, the per-user
// settings with the records of the associations' earlier owners included.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/removal_support.h"

using namespace uninstall_test;

namespace {

// The build gives the program as a Unix path.
const char kWithoutRights[] = WITHOUT_RIGHTS_EXE;

struct RightsCase {
  const char* arguments;
  bool setUpBefore;     // by uninstall.exe with its rights, as the archiver's installer would
  const char* caption;  // of the one message box; null for none
};

const RightsCase kCases[] = {
    {"", true, "库：卸载 Zendra"},  // the caption from the language library
    {"/setup", false, "Zendra 压缩文件管理器"},
    {"/setup /s", false, nullptr},
};

class Rights : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(936u, GetACP());
    // The folder opener that the setup starts at its end is a stand-in, not a window.
    RegisterOpeners();
    registry_ = TakeSnapshot(FootprintPlaces());
  }
  void TearDown() override {
    RestoreRegistry(registry_, FootprintPlaces());
    RemoveFolder(kFolder);
  }

  const std::string kFolder = "C:\\Zendra rights";
  Snapshot registry_;
};

TEST_F(Rights, WithoutThemTheSetupAndTheUninstallSaySoAndChangeNothing) {
  for (const RightsCase& rights : kCases) {
    SCOPED_TRACE(std::string("arguments \"") + rights.arguments + "\"");
    RemovalInstallation installation = MakeRemovalInstallation(kFolder);
    if (rights.setUpBefore) ASSERT_EQ(0, RunProgram(installation, "/setup /s"));
    ASSERT_TRUE(CopyFileA(WindowsPath(kWithoutRights).c_str(), installation.Program().c_str(), FALSE));
    const Snapshot before = TakeSnapshot(FootprintPlaces());
    const std::vector<std::string> files = Existing(installation.ListedPaths());

    std::vector<BoxTexts> boxes;
    EXPECT_EQ(0, RunProgram(installation, rights.arguments, {IDOK}, &boxes));
    ASSERT_EQ(rights.caption != nullptr ? 1u : 0u, boxes.size());
    if (rights.caption != nullptr) {
      EXPECT_EQ(Ansi(rights.caption), boxes[0].caption);
      EXPECT_EQ(Ansi("没有管理员权限，无法更改系统设置。未做任何更改。"), boxes[0].text);
    }
    EXPECT_EQ(std::vector<std::string>{}, Differences(before, TakeSnapshot(FootprintPlaces())));
    EXPECT_EQ(rights.setUpBefore, RawKeyExists(HKEY_CURRENT_USER, kProductKey));
    EXPECT_EQ(files, Existing(installation.ListedPaths()));
    EXPECT_FALSE(FileExists(BatchPath()));
    RemoveFolder(kFolder);
    RestoreRegistry(registry_, FootprintPlaces());
  }
}

}  // namespace
