// The paths that differ outside the NT family, under Windows 98 mode (win98_main.cpp).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/File.h"
#include "base/WinVersion.h"
#include "registry/Registry.h"
#include "test_files.h"
#include "test_registry.h"

using namespace test_support;

namespace {

const std::string kScratchFull = "Software\\Zendra\\Win98Tests";

TEST(Win98Mode, PlatformTestGivesZero) {
  EXPECT_EQ(0, GetWinNtVersion());
  EXPECT_EQ(0, GetWinNtVersion()) << "cached value";
}

TEST(Win98Mode, DeleteKeyTreeRemovesWideAndDeepTrees) {
  MakeTree(HKEY_CURRENT_USER, kScratchFull + "\\Wide", 5, 3);
  MakeTree(HKEY_CURRENT_USER, kScratchFull + "\\Deep", 1, 40);
  RawCreateKey(HKEY_CURRENT_USER, kScratchFull + "\\Sibling");
  DeleteKeyTree(HKEY_CURRENT_USER, "Win98Tests\\Wide");
  DeleteKeyTree(HKEY_CURRENT_USER, "Win98Tests\\Deep");
  EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, kScratchFull + "\\Wide"));
  EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, kScratchFull + "\\Deep"));
  EXPECT_TRUE(RawKeyExists(HKEY_CURRENT_USER, kScratchFull + "\\Sibling"));
  RawDeleteTree(HKEY_CURRENT_USER, kScratchFull);
}

TEST(Win98Mode, FileOpensByItsAnsiNameOnly) {
  std::string path = TempFolder() + "uninstall-win98-file.txt";
  ASSERT_TRUE(WriteFileBytes(path, ""));
  std::wstring wide(path.begin(), path.end());
  File file;
  EXPECT_FALSE(file.Open("Z:\\no\\such\\file", wide.c_str())) << "the wide name is not used";
  EXPECT_TRUE(file.Open(path.c_str(), L"Z:\\no\\such\\file"));
  file.Close();
  DeleteFileA(path.c_str());
}

}  // namespace
