// The rights check of the setup and the uninstall: each machine-wide place that they
// write or remove is asked about. Each place is made first, so that it answers for
// itself, and then refused through the registry layer's filter.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "integration/MachineKeys.h"
#include "registry/ChangeFilter.h"
#include "tests/integration_support.h"

using namespace uninstall_test;

namespace {

// A key of HKEY_LOCAL_MACHINE that refuses changes, with every key below it.
std::string refusedKey;
bool RefuseBelow(HKEY root, const char* fullName) {
  const size_t length = refusedKey.size();
  return root != HKEY_LOCAL_MACHINE || refusedKey.empty() || _strnicmp(fullName, refusedKey.c_str(), length) != 0 ||
         (fullName[length] != '\0' && fullName[length] != '\\');
}

class MachineKeysTest : public IntegrationTest {
 protected:
  void TearDown() override {
    SetChangeFilter(nullptr);
    RawDeleteTree(HKEY_LOCAL_MACHINE, "Software\\ZendraTestOther");
    IntegrationTest::TearDown();
  }
};

TEST_F(MachineKeysTest, EveryPlaceOfTheSetupIsAskedAboutAndNoOther) {
  const std::string classes = "Software\\Classes\\";
  const std::string lists = "Software\\Microsoft\\Windows\\CurrentVersion\\";
  const std::string kAsked[] = {
      classes + ".kzp",         classes + ".tbz",
      classes + ".zip\\ShellNew", classes + ".k99",
      classes + ".rev",         classes + "Zendra.REV",
      classes + "CLSID\\" + kClassId + "\\InProcServer32", classes + "Zendra.ZIP\\shellex\\DropHandler",
      classes + kProgramSheetHandlers + "\\" + kClassId, classes + "Drive\\shellex\\DragDropHandlers\\Zendra",
      lists + "App Paths\\Zendra.exe", lists + "Uninstall\\Zendra archiver",
      lists + "Shell Extensions\\Approved"};
  SetChangeFilter(RefuseBelow);
  EXPECT_TRUE(CanChangeMachineKeys()) << "nothing refused";
  for (const std::string& key : kAsked) {
    RawCreateKey(HKEY_LOCAL_MACHINE, key);
    refusedKey = key;
    EXPECT_FALSE(CanChangeMachineKeys()) << key;
  }
  for (const std::string& key : {classes + ".txt", lists + "Run", std::string("Software\\ZendraTestOther")}) {
    RawCreateKey(HKEY_LOCAL_MACHINE, key);
    refusedKey = key;
    EXPECT_TRUE(CanChangeMachineKeys()) << key;
  }
}

}  // namespace
