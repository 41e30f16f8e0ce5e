// Shell extension, App Paths and Uninstall entries in Wine's registry (a prefix of its own).
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <string>

#include "integration/AppEntries.h"
#include "integration/MachineKeys.h"
#include "integration/ShellExtension.h"
#include "registry/ChangeFilter.h"
#include "test_caller.h"
#include "tests/integration_support.h"

using namespace uninstall_test;

namespace {

class ShellExtensionTest : public IntegrationTest {
 protected:
  void ExpectHandlersRegistered(test_support::Caller caller = {}) {
    test_support::CallerTrace trace(caller);
    for (const std::string& key : kClassHandlerKeys)
      EXPECT_EQ("", ReadText(HKEY_CLASSES_ROOT, key, "")) << key;
    for (const std::string& key : kDropHandlerKeys)
      EXPECT_EQ(kClassId, ReadText(HKEY_CLASSES_ROOT, key, "")) << key;
    for (const std::string& key : kSharedHandlerKeys)
      EXPECT_EQ(kClassId, ReadText(HKEY_CLASSES_ROOT, key, "")) << key;
    EXPECT_EQ("Zendra shell extension", ReadText(HKEY_LOCAL_MACHINE, kApprovedKey, kClassId.c_str()));
  }
};

TEST_F(ShellExtensionTest, ClassIdentifierIsAGuidInUpperCaseRegistryForm) {
  CLSID parsed;
  std::wstring wide(kClassId.begin(), kClassId.end());
  ASSERT_EQ(S_OK, CLSIDFromString(wide.c_str(), &parsed));
  wchar_t back[40];
  ASSERT_GT(StringFromGUID2(parsed, back, 40), 0);
  EXPECT_EQ(std::wstring(back), wide) << "braces and upper-case hex groups 8-4-4-4-12";
}

TEST_F(ShellExtensionTest, WithTheLibraryTheClassIsRegisteredToo) {
  WriteFileBytes(folder_ + "\\kzpext.dll", "library");
  SetShellExtension(Taking({}, true));
  const std::string classKey = "CLSID\\" + kClassId;
  EXPECT_EQ("Zendra", ReadText(HKEY_CLASSES_ROOT, classKey, ""));
  EXPECT_EQ(folder_ + "\\kzpext.dll", ReadText(HKEY_CLASSES_ROOT, classKey + "\\InProcServer32", ""));
  EXPECT_EQ("Apartment", ReadText(HKEY_CLASSES_ROOT, classKey + "\\InProcServer32", "ThreadingModel"));
  ExpectHandlersRegistered();
}

TEST_F(ShellExtensionTest, WithoutTheLibraryOnlyTheHandlerEntriesAreWritten) {
  SetShellExtension(Taking({}, true));
  EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, "CLSID\\" + kClassId));
  ExpectHandlersRegistered();
}

TEST_F(ShellExtensionTest, SwitchedOffAfterOnRemovesClassAndHandlersAndEmptiesSharedKeys) {
  WriteFileBytes(folder_ + "\\kzpext.dll", "library");
  // Another program's handler beside ours and another approved extension stay.
  const std::string otherHandler = "*\\shellex\\ContextMenuHandlers\\OtherTool";
  RawSetText(HKEY_CLASSES_ROOT, otherHandler, "", "{other}");
  RawSetText(HKEY_LOCAL_MACHINE, kApprovedKey, "{other}", "Other");
  SetShellExtension(Taking({}, true));
  SetShellExtension(Taking({}, false));

  EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, "CLSID\\" + kClassId));
  for (const std::string& key : kClassHandlerKeys) EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, key)) << key;
  for (const std::string& key : kDropHandlerKeys) EXPECT_FALSE(RawKeyExists(HKEY_CLASSES_ROOT, key)) << key;
  for (const std::string& key : kSharedHandlerKeys) {
    EXPECT_TRUE(RawKeyExists(HKEY_CLASSES_ROOT, key)) << key;
    EXPECT_EQ("<none>", ReadText(HKEY_CLASSES_ROOT, key, "")) << key;
  }
  EXPECT_EQ("<none>", ReadText(HKEY_LOCAL_MACHINE, kApprovedKey, kClassId.c_str()));
  EXPECT_EQ("{other}", ReadText(HKEY_CLASSES_ROOT, otherHandler, ""));
  EXPECT_EQ("Other", ReadText(HKEY_LOCAL_MACHINE, kApprovedKey, "{other}"));
  RawDeleteTree(HKEY_CLASSES_ROOT, otherHandler);
}

TEST_F(ShellExtensionTest, AppPathNamesTheArchiverAndTheCurrentDirectory) {
  // "Path" follows the current directory, also where it is not the program's folder.
  for (const std::string& current : {folder_, root_}) {
    ASSERT_TRUE(SetCurrentDirectoryA(current.c_str()));
    SetAppPath();
    EXPECT_EQ(folder_ + "\\Zendra.exe", ReadText(HKEY_LOCAL_MACHINE, kAppPathsKey, ""));
    EXPECT_EQ(current, ReadText(HKEY_LOCAL_MACHINE, kAppPathsKey, "Path"));
  }
  SetCurrentDirectoryA("C:\\");
}

TEST_F(ShellExtensionTest, UninstallEntryStartsThisProgramWithoutASwitch) {
  WriteUninstallEntry();
  EXPECT_EQ(Ansi(u8"Zendra 压缩文件管理器"), ReadText(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"));
  EXPECT_EQ("\"" + folder_ + "\\uninstall.exe\"",
            ReadText(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"));
}

std::string refused;  // a key of HKEY_LOCAL_MACHINE, refused with the keys below it
bool RefuseBelow(HKEY root, const char* key) {
  const size_t n = refused.size();
  return root != HKEY_LOCAL_MACHINE || _strnicmp(key, refused.c_str(), n) != 0 || (key[n] != '\0' && key[n] != '\\');
}

// The rights check asks about every machine-wide place of the setup and the uninstall and no other: each
// place, made first so that it answers for itself, refuses in turn through the registry layer's filter.
TEST_F(ShellExtensionTest, TheRightsCheckAsksAboutEveryMachineWidePlaceAndNoOther) {
  const std::string c = "Software\\Classes\\", lists = "Software\\Microsoft\\Windows\\CurrentVersion\\";
  const std::pair<std::string, bool> kPlaces[] = {
      {c + ".kzp", false}, {c + ".tbz", false}, {c + ".zip\\ShellNew", false}, {c + ".k99", false},
      {c + ".rev", false}, {c + "Zendra.REV", false}, {c + "CLSID\\" + kClassId + "\\InProcServer32", false},
      {c + "Zendra.ZIP\\shellex\\DropHandler", false}, {c + kProgramSheetHandlers + "\\" + kClassId, false},
      {c + "Drive\\shellex\\DragDropHandlers\\Zendra", false}, {lists + "App Paths\\Zendra.exe", false},
      {lists + "Uninstall\\Zendra archiver", false}, {lists + "Shell Extensions\\Approved", false},
      {c + ".txt", true}, {lists + "Run", true}};
  SetChangeFilter(RefuseBelow);
  for (const auto& place : kPlaces) {
    RawCreateKey(HKEY_LOCAL_MACHINE, place.first);
    refused = place.first;
    EXPECT_EQ(place.second, CanChangeMachineKeys()) << place.first;
  }
  SetChangeFilter(nullptr);
}

}  // namespace
