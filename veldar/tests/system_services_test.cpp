// The installer's system services under Wine: files and their failures, the
// registry and settings file, and programs started and waited for.
#include <gtest/gtest.h>

#include "Core/RunRecord.h"
#include "Main/BackupCopy.h"
#include "Main/InstallerFiles.h"
#include "Main/Programs.h"
#include "Main/SystemSettings.h"
#include "scratch_folder.h"
#include "test_files.h"
#include "test_registry.h"
#include "test_text.h"

namespace {

using namespace test_support;
using Kind = FileFailure::Kind;

const char kAppPathsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\sqlservr.exe";

std::string Child() {
  return "\"" + ProgramFolder() + "veldar_test_child.exe\"";
}

// Files and programs in a scratch folder of each test.
using InstallerFiles = ScratchFolder;
using Programs = ScratchFolder;

// The log written as a run writes it at its end.
bool WriteLog(const std::string& name, const RunLog& log) {
  const RunLog errors;
  RunRecord record(log, errors);
  record.Start(name, name + ".err", "", 0);
  return record.Finish().empty();
}

TEST_F(InstallerFiles, LinesRoundTripWithCrLfAndReplaceTheFile) {
  const std::string name = PathOf("out.log");
  ASSERT_TRUE(WriteFileBytes(name, std::string(10000, 'x')));
  FileFailure failure;
  RunLog log;
  log.Add({"a", "", Ansi(u8"【安装脚本】")});
  ASSERT_TRUE(WriteLog(name, log));
  EXPECT_EQ("a\r\n\r\n" + Ansi(u8"【安装脚本】") + "\r\n", ReadFileBytes(name));
  // A log of many blocks and a script read back line by line.
  const std::string line(999, 'x');
  for (int i = 0; i < 300; ++i) log.Add(line + std::to_string(i));
  ASSERT_TRUE(WriteLog(name, log));
  ScriptFileReader reader;
  ASSERT_TRUE(reader.Open(name, failure));
  EXPECT_EQ(log.LineCount(), reader.LineCount());
  std::vector<std::string> lines;
  for (std::string text; reader.NextLine(text);) lines.push_back(text);
  EXPECT_EQ(log.Lines(), lines);
  EXPECT_FALSE(reader.ReadFailure());
  reader.Close();
  ASSERT_TRUE(WriteLog(name, RunLog()));
  EXPECT_EQ("", ReadFileBytes(name));
}

TEST_F(InstallerFiles, FailuresComeBackWithTheSystemsReason) {
  FileFailure failure;
  ScriptFileReader reader;
  ExpectFileFailure(reader.Open(PathOf("missing.sql"), failure), failure, Kind::Read, PathOf("missing.sql"),
                    ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(failure.reason.empty());
  EXPECT_EQ(std::string::npos, failure.reason.find('\n'));

  // A file another program holds open without sharing cannot be read.
  const std::string locked = PathOf("locked.sql");
  ASSERT_TRUE(WriteFileBytes(locked, "select 1"));
  HANDLE holder = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, holder);
  ExpectFileFailure(reader.Open(locked, failure), failure, Kind::Read, locked, ERROR_SHARING_VIOLATION);
  CloseHandle(holder);
}

TEST_F(InstallerFiles, CopyReplacesAReadOnlyDestinationAndLeavesArchiveOnly) {
  ASSERT_TRUE(WriteFileBytes(folder_ + "new.dll", "new"));
  ASSERT_TRUE(WriteFileBytes(folder_ + "old.dll", "old"));
  ASSERT_TRUE(
      SetFileAttributesA((folder_ + "old.dll").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  EXPECT_TRUE(CopyInstallFile(folder_ + "new.dll", folder_ + "old.dll", false));
  EXPECT_EQ("new", ReadFileBytes(folder_ + "old.dll"));
  EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE), GetFileAttributesA((folder_ + "old.dll").c_str()));

  EXPECT_FALSE(CopyInstallFile(folder_ + "new.dll", folder_ + "old.dll", true));
  EXPECT_FALSE(CopyInstallFile(folder_ + "absent.dll", folder_ + "other.dll", false));
  EXPECT_FALSE(::FileExists(folder_ + "other.dll"));
  EXPECT_TRUE(::FileExists(folder_ + "new.dll"));
  EXPECT_FALSE(::FileExists(folder_.substr(0, folder_.size() - 1)));  // a folder is not a file
}

TEST_F(InstallerFiles, BackupCopyHoldsItsFoldersAndDeletesOnlyTheFileItMade) {
  const std::string copy = PathOf("c\\shop.bak");
  ASSERT_TRUE(WriteFileBytes(PathOf("shop.bak"), "backup") && CreateDirectoryA(PathOf("c").c_str(), nullptr));
  BackupCopy backup;
  FileFailure failure;
  for (const bool replaced : {true, false}) {
    ASSERT_TRUE(backup.Create(PathOf("shop.bak"), copy, failure)) << failure.reason;
    EXPECT_EQ("backup", ReadFileBytes(copy));
    EXPECT_FALSE(MoveFileA(PathOf("c").c_str(), PathOf("moved").c_str()));
    // Made before the copy goes, the other file cannot take over its file index.
    ASSERT_TRUE(!replaced || (WriteFileBytes(PathOf("o"), "other") &&
                              MoveFileExA(PathOf("o").c_str(), copy.c_str(), MOVEFILE_REPLACE_EXISTING)));
    backup.Remove();
    EXPECT_EQ(replaced ? "other" : "<missing>", ReadFileBytes(copy));
  }
  EXPECT_TRUE(MoveFileA(PathOf("c").c_str(), PathOf("moved").c_str()));
  // A missing backup leaves what stands at the name.
  ExpectFileFailure(backup.Create(PathOf("absent.bak"), PathOf("shop.bak"), failure), failure, Kind::Read,
                    PathOf("absent.bak"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ("backup", ReadFileBytes(PathOf("shop.bak")));
}

TEST(SystemSettings, ServerPathFromTheRegistry) {
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, kAppPathsKey);
  std::string value = "untouched";
  EXPECT_FALSE(ReadServerPath(value));

  RawCreateKey(HKEY_LOCAL_MACHINE, kAppPathsKey);
  EXPECT_TRUE(ReadServerPath(value));
  EXPECT_EQ("", value);  // the key opens but holds no Path

  // A stored value without its terminating zero is read whole and no further.
  const char path[] = "D:\\Server\\BINNxyz";
  RawSetValue(HKEY_LOCAL_MACHINE, kAppPathsKey, "Path", REG_SZ, path, sizeof path - 4);
  EXPECT_TRUE(ReadServerPath(value));
  EXPECT_EQ("D:\\Server\\BINN", value);
  RawDeleteTree(HKEY_LOCAL_MACHINE, kAppPathsKey);
}

// The registry as seen through two views: each view's key is a scratch key under
// HKCU (or missing), and every open is recorded with the access it asked for.
struct TwoViews {
  const char* own;
  const char* other;
  std::vector<REGSAM> asked;
};
TwoViews* views = nullptr;

LONG WINAPI OpenInViews(HKEY root, LPCSTR path, DWORD, REGSAM access, PHKEY key) {
  views->asked.push_back(access);
  if (root != HKEY_LOCAL_MACHINE || std::string(path) != kAppPathsKey) return ERROR_ACCESS_DENIED;
  const REGSAM viewBits = KEY_WOW64_32KEY | KEY_WOW64_64KEY;
  const char* scratch = (access & viewBits) ? views->other : views->own;
  if (!scratch) return ERROR_FILE_NOT_FOUND;
  return RegOpenKeyExA(HKEY_CURRENT_USER, scratch, 0, access & ~viewBits, key);
}

TEST(SystemSettings, ServerPathFromTheOwnViewElseTheOther) {
  const char kOwn[] = "Software\\VeldarViewTest\\Own";
  const char kOther[] = "Software\\VeldarViewTest\\Other";
  const char kNoPath[] = "Software\\VeldarViewTest\\NoPath";
  RawSetText(HKEY_CURRENT_USER, kOwn, "Path", "C:\\Own\\BINN");
  RawSetText(HKEY_CURRENT_USER, kOther, "Path", "D:\\Other\\BINN");
  RawSetText(HKEY_CURRENT_USER, kNoPath, "Other", "x");
  const REGSAM Q = KEY_QUERY_VALUE, V32 = KEY_WOW64_32KEY, V64 = KEY_WOW64_64KEY;
  struct Case {
    const char* own;
    const char* other;
    REGSAM otherView;
    bool found;
    std::string value;
    std::vector<REGSAM> asked;
  } cases[] = {
      {kOwn, kOther, V32, true, "C:\\Own\\BINN", {Q}},
      {kNoPath, kOther, V32, true, "", {Q}},  // the own view's key counts even without Path
      {nullptr, kOther, V32, true, "D:\\Other\\BINN", {Q, Q | V32}},
      {nullptr, kOther, V64, true, "D:\\Other\\BINN", {Q, Q | V64}},
      {nullptr, nullptr, V64, false, "untouched", {Q, Q | V64}},
      {nullptr, kOther, 0, false, "untouched", {Q}},  // 32-bit Windows: one view only
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.own ? c.own : "-") + " / " + (c.other ? c.other : "-") + " / " +
                 std::to_string(c.otherView));
    TwoViews state{c.own, c.other, {}};
    views = &state;
    std::string value = "untouched";
    EXPECT_EQ(c.found, ReadServerPath(value, RegistryAccess{OpenInViews, c.otherView}));
    EXPECT_EQ(c.value, value);
    EXPECT_EQ(c.asked, state.asked);
  }
  views = nullptr;
  RawDeleteTree(HKEY_CURRENT_USER, "Software\\VeldarViewTest");
}

TEST(SystemSettings, TheOtherViewReachesTheKeysOfTheOtherBitness) {
  // The tests run in a 64-bit Wine prefix, where a 32-bit program runs under WoW64 and
  // each bitness has a view of HKLM\Software of its own. Wine shares the server's App
  // Paths key between the views, so a redirected key of the test's stands in for it.
  const char kKey[] = "SOFTWARE\\VeldarViewTest";
  const REGSAM other = sizeof(void*) == 8 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_WRITE | other,
                                           nullptr, &key, nullptr));
  RegCloseKey(key);
  const RegistryAccess registry = SystemRegistry();
  EXPECT_NE(ERROR_SUCCESS, registry.openKey(HKEY_LOCAL_MACHINE, kKey, 0, KEY_QUERY_VALUE, &key));
  ASSERT_EQ(ERROR_SUCCESS,
            registry.openKey(HKEY_LOCAL_MACHINE, kKey, 0, KEY_QUERY_VALUE | registry.otherView, &key));
  RegCloseKey(key);
  RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kKey, other, 0);
}

TEST(SystemSettings, OnlyTheModulesKeyLeavesTheRunList) {
  const std::string settings = SystemFolder() + "\\QUORNAX.INI";
  ASSERT_FALSE(SystemFolder().empty());
  ASSERT_TRUE(
      WriteFileBytes(settings,
                     "[Other]\r\nSales=1\r\n"
                     "[SOFTWARE,Quillsys,Quorn_Ax,1.0,Run]\r\nSales=C:\\a.exe\r\nStock=C:\\b.exe\r\n"));
  RemoveModuleFromRunList("Sales");
  EXPECT_EQ("[Other]\r\nSales=1\r\n[SOFTWARE,Quillsys,Quorn_Ax,1.0,Run]\r\nStock=C:\\b.exe\r\n",
            ReadFileBytes(settings));
  DeleteFileA(settings.c_str());
}

TEST_F(Programs, WaitsForTheProcessEvenWhenItExitsWith259) {
  int pumped = 0;
  const DWORD start = GetTickCount();
  EXPECT_TRUE(RunProgramAndWait(Child() + " exit 259", "", [&pumped] { ++pumped; }));
  EXPECT_LT(GetTickCount() - start, 10000u);
  EXPECT_EQ(0, pumped);  // nothing was posted: no reason to wake
}

TEST_F(Programs, ProcessesMessagesWhileTheProgramRuns) {
  PostThreadMessageA(GetCurrentThreadId(), WM_USER, 0, 0);
  int pumped = 0;
  EXPECT_TRUE(RunProgramAndWait(Child(), "sleep 300", [&pumped] {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ++pumped;
  }));
  EXPECT_EQ(1, pumped);
}

TEST_F(Programs, ParametersFollowTheCommandAfterOneBlank) {
  EXPECT_TRUE(RunProgramAndWait(Child() + " record \"" + PathOf("args.txt") + "\" a", "b  c", [] {}));
  EXPECT_EQ("a|b|c", ReadBytes(PathOf("args.txt")));
}

TEST_F(Programs, AProgramThatDoesNotExistIsNotStarted) {
  int pumped = 0;
  EXPECT_FALSE(RunProgramAndWait("no_such_program_here.exe", "", [&pumped] { ++pumped; }));
  EXPECT_EQ(0, pumped);
}

}  // namespace
