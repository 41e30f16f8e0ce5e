// The paths that differ outside the NT family, run with Wine reporting Windows 98
// (Win98Main.cpp).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/File.h"
#include "base/WinVersion.h"
#include "registry/Registry.h"
#include "tests/RegistryTestSupport.h"

using namespace registry_test;

namespace {

const std::string kScratchFull = "Software\\Zendra\\Win98Tests";

TEST(Win98Mode, PlatformTestGivesZero) {
  EXPECT_EQ(0, GetWinNtVersion());
  EXPECT_EQ(0, GetWinNtVersion()) << "cached value";
}

TEST(Win98Mode, DeleteKeyTreeRemovesWideAndDeepTrees) {
  MakeTree(HKEY_CURRENT_USER, kScratchFull + "\\Wide", 5, 3);
  std::string deep = kScratchFull + "\\Deep";
  for (int i = 0; i < 40; ++i) deep += "\\d";
  RawCreateKey(HKEY_CURRENT_USER, deep);
  RawCreateKey(HKEY_CURRENT_USER, kScratchFull + "\\Sibling");
  DeleteKeyTree(HKEY_CURRENT_USER, "Win98Tests\\Wide");
  DeleteKeyTree(HKEY_CURRENT_USER, "Win98Tests\\Deep");
  EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, kScratchFull + "\\Wide"));
  EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, kScratchFull + "\\Deep"));
  EXPECT_TRUE(RawKeyExists(HKEY_CURRENT_USER, kScratchFull + "\\Sibling"));
  RawDeleteTree(HKEY_CURRENT_USER, kScratchFull);
}

TEST(Win98Mode, FileOpensByItsAnsiNameOnly) {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  std::string path = std::string(temp) + "uninstall-win98-file.txt";
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, h);
  CloseHandle(h);
  std::wstring wide(path.begin(), path.end());
  File file;
  EXPECT_FALSE(file.Open("Z:\\no\\such\\file", wide.c_str())) << "the wide name is not used";
  EXPECT_TRUE(file.Open(path.c_str(), L"Z:\\no\\such\\file"));
  file.Close();
  DeleteFileA(path.c_str());
}

}  // namespace
