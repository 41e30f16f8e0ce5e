// The uninstall under Windows 98 mode: the batch waits through "start /wait" and starts
// detached on NUL. The stand-in keeps it from running (Wine's "start" would not wait).
// Files in use go through WININIT.INI, whose other lines stay; Wine's restart carries it
// out (as those systems do, it deletes files only: nothing is written for the folders).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/removal_support.h"

using namespace uninstall_test;

namespace {

TEST(RemovalWin98, TheBatchWaitsThroughStartRunsDetachedOnNulAndFilesInUseGoThroughWininit) {
  ASSERT_NE(0u, GetVersion() & 0x80000000u) << "Windows 98 mode";
  RemovalInstallation installation = MakeRemovalInstallation("C:\\Zendra 98");
  MakeOutsideFiles(installation);
  FilesInUse inUse(installation);
  const std::string wininit = "C:\\windows\\WININIT.INI", done = "C:\\windows\\WININIT.BAK";
  WriteFileBytes(wininit, "[Rename]\r\nNUL=C:\\OTHER.TMP\r\n\r\n[other]\r\nkey=value");
  InterpreterStandIn interpreter("C:\\removal-tools\\record-98", false);
  EXPECT_EQ(0, RunProgram(installation, "", {IDYES}));
  ASSERT_TRUE(WaitUntil([&] { return interpreter.Recorded("command") != "<none>"; }, kTimeout));

  // A new file of its own in the temporary folder, no folder.
  const std::vector<std::string> batches = BatchFiles();
  ASSERT_EQ(1u, batches.size());
  EXPECT_EQ(TempFolder().size() + 12, batches[0].size()) << batches[0];
  std::string batch = interpreter.RecordedBatch();
  EXPECT_EQ(0u, batch.find("start /wait \"C:\\Zendra 98\\uninstall.exe\" /wait\r\n")) << batch;
  EXPECT_EQ(ExpectedBatch(installation.Program(), installation.folder, batches[0], false), batch);
  EXPECT_EQ("\"" + interpreter.Path() + "\" /c \"" + batches[0] + "\"", interpreter.Recorded("command"));
  EXPECT_EQ(std::to_string(STARTF_USESTDHANDLES), interpreter.Recorded("flags"));
  EXPECT_EQ(std::to_string(FILE_TYPE_CHAR), interpreter.Recorded("stdout"));
  EXPECT_EQ("0", interpreter.Recorded("console")) << "detached: no console";
  EXPECT_EQ("C:\\", interpreter.Recorded("directory"));

  // The list was worked through as on the NT family; the program and the batch stay.
  EXPECT_EQ(std::vector<std::string>{installation.Program()}, Existing(installation.ListedPaths()));
  EXPECT_EQ(OutsideFiles(installation), Existing(OutsideFiles(installation)));

  const std::string aside = inUse.Aside();
  std::string expected = "[Rename]\r\nNUL=C:\\OTHER.TMP\r\n";
  for (const std::string& file : {inUse.held, aside}) {
    char shortPath[MAX_PATH] = "";
    GetShortPathNameA(file.c_str(), shortPath, sizeof shortPath);
    expected += "NUL=" + std::string(shortPath) + "\r\n";
  }
  EXPECT_EQ(expected + "\r\n[other]\r\nkey=value", ReadFileBytes(wininit));
  EXPECT_EQ(std::vector<std::string>{}, PendingRemovals());
  inUse.Release();
  Restart();
  EXPECT_EQ(expected + "\r\n[other]\r\nkey=value", ReadFileBytes(done));
  EXPECT_EQ(std::vector<std::string>{}, Existing({wininit, inUse.held, aside}));
  for (const std::string& file : {done, batches[0]}) DeleteFileA(file.c_str());
  RemoveFolder(installation.folder);
}

}  // namespace
