// Encrypted scripts with VELDAR.exe under Wine: Ctrl+Alt+F4 typed into the window
// enciphers a script exactly as sqecrypt.exe does, and the result runs against the
// "SQL Server" test driver like the plain script, apart from the encryption marker.
#include <gtest/gtest.h>

#include <filesystem>

#include "des_reference.h"
#include "veldar_run.h"

namespace veldar_test {
namespace {

// Files of a folder whose names start with prefix.
Lines FilesStartingWith(const std::string& folder, const std::string& prefix) {
  Lines names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.path().filename().string().rfind(prefix, 0) == 0)
      names.push_back(entry.path().filename().string());
  return names;
}

class EncryptionCommand : public WindowRun {
 protected:
  void TypeCtrlAltF4() { Type({VK_CONTROL, VK_MENU, VK_F4}); }
  // Types Ctrl+Alt+F4, opens `script` in the file dialog that then comes (unless `script`
  // is empty), and answers the box that reports the outcome.
  BoxTexts Encipher(const std::string& script = std::string()) {
    TypeCtrlAltF4();
    if (!script.empty()) ChooseInFileDialog(script);
    return AnswerBox(IDOK);
  }

  // The box that reports a finished conversion: the program's name as its caption,
  // no icon, one OK button.
  static ::testing::AssertionResult IsDoneBox(const BoxTexts& box) {
    if (box.caption == "VELDAR" && box.text == Ansi(u8"加密完成！") &&
        box.buttons == std::vector<int>{IDOK} && !box.icon)
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "box \"" << box.caption << "\": \"" << box.text << "\" with " << box.buttons.size()
           << " buttons" << (box.icon ? " and an icon" : "");
  }

  // No message box or dialog comes within a second; the program still runs.
  ::testing::AssertionResult NothingShown() {
    if (HWND box = WaitForWindowOf(process_.Id(), "#32770", 1000))
      return ::testing::AssertionFailure() << "a window showed: \"" << WindowText(box) << '"';
    if (!process_.Running()) return ::testing::AssertionFailure() << "the program ended";
    return ::testing::AssertionSuccess();
  }

  // What sqecrypt.exe, built beside the tests, writes to `output` when run on the
  // arguments in the program's folder.
  std::string Sqecrypt(const std::string& arguments, const std::string& output,
                       test_support::Caller caller = {}) {
    test_support::CallerTrace trace(caller);
    Process sqecrypt;
    EXPECT_TRUE(sqecrypt.Start(ProgramFolder() + "..\\tools\\sqecrypt.exe", arguments, folder_));
    EXPECT_EQ(0, sqecrypt.Wait()) << arguments;
    return FileText(output);
  }

  std::string FileText(const std::string& name) const { return ReadFileBytes(folder_ + name); }
};

TEST_F(EncryptionCommand, EncipheredScriptRunsLikeThePlainOneApartFromTheMarker) {
  ASSERT_TRUE(WriteFileBytes(folder_ + "shop.bak", "backup"));
  const std::string directive = "--^E child.exe record \"%SourceDir%\\args.txt\" %ServerName% %UserName%";
  WriteScript("VELDAR.SQL",
              {"create table notes(n integer, s text);", "GO", directive,
               "insert into notes values(1, 'before", "--LANTHORN--", " --LANTHORN--", "--lanthorn--", "",
               "after');", "GO", "-- the restore fails on this driver", "--^RShop,shop.bak",
               "insert into notes values(2, 'x');", "GO", "insert into notes values(3, 'never sent');"});

  // The window command writes VELDAR.SQE beside the program.
  ASSERT_NO_FATAL_FAILURE(StartWindow());
  EXPECT_TRUE(IsDoneBox(Encipher()));
  EXPECT_TRUE(process_.Running());
  CloseExpecting(3);

  // Byte for byte what sqecrypt.exe makes of the same script, and nothing left over.
  const std::string encrypted = FileText("VELDAR.SQE");
  ASSERT_TRUE(CopyFileA((folder_ + "VELDAR.SQL").c_str(), (folder_ + "tool.sql").c_str(), FALSE));
  EXPECT_EQ(Sqecrypt("tool.sql", "tool.SQE"), encrypted);
  EXPECT_EQ(std::string::npos, encrypted.find("notes"));
  EXPECT_EQ(Lines{}, FilesStartingWith(folder_, "~"));

  // The plain script, then the encrypted one, which is the program's default script.
  EXPECT_EQ(1, Run("-FVELDAR.SQL -Stestdb"));
  const std::string plainLog = Log("VELDAR");
  const std::string plainErrors = Errors("VELDAR");
  const std::string plainArguments = FileText("args.txt");
  EXPECT_EQ((Lines{"1|before\r\n--LANTHORN--\r\n --LANTHORN--\r\n--lanthorn--\r\n\r\nafter", "2|x"}),
            Rows("select n, s from notes order by n"));
  // The encrypted run starts without the test driver's database file of "testdb".
  ASSERT_TRUE(DeleteFileA((folder_ + "DRIVER={SQL Server};SERVER=testdb;UID=sa;PWD=;").c_str()));
  ASSERT_TRUE(DeleteFileA((folder_ + "args.txt").c_str()));
  ForgetOutput("VELDAR");

  EXPECT_EQ(1, Run("-Stestdb"));
  EXPECT_EQ((Lines{"1|before\r\nwith Encryption\r\n --LANTHORN--\r\n--lanthorn--\r\n\r\nafter", "2|x"}),
            Rows("select n, s from notes order by n"));
  EXPECT_EQ("testdb|sa", plainArguments);
  EXPECT_EQ(plainArguments, FileText("args.txt"));
  ASSERT_NE(std::string::npos, plainLog.find("\r\n--LANTHORN--\r\n"));
  EXPECT_EQ(ReplaceLines(plainLog, "--LANTHORN--", "with Encryption"), Log("VELDAR"));
  EXPECT_EQ(plainErrors, Errors("VELDAR"));
  // The restore's statement failed in both runs and its copy of the backup is gone.
  EXPECT_NE(std::string::npos, plainErrors.find("RESTORE DATABASE Shop FROM DISK = 'C:\\shop.bak'"));
  EXPECT_EQ("<missing>", ReadFileBytes("C:\\shop.bak"));
}

TEST_F(EncryptionCommand, CtrlF4AndAltF4AloneDoNotEncipherAndAltF4ClosesTheWindow) {
  WriteScript("VELDAR.SQL", {"create table t(n integer);", "GO"});
  ASSERT_NO_FATAL_FAILURE(StartWindow());
  Type({VK_CONTROL, VK_F4});
  EXPECT_TRUE(NothingShown());
  Type({VK_MENU, VK_F4});
  EXPECT_EQ(3, Finish());
  EXPECT_EQ("<missing>", FileText("VELDAR.SQE"));
}

TEST_F(EncryptionCommand, WithoutTheProgramsScriptTheChosenOneIsEncipheredBesideItself) {
  ASSERT_TRUE(CreateDirectoryA((folder_ + "sub").c_str(), nullptr));
  WriteScript("sub\\other.sql", {"select 1", "", "GO"});
  WriteScript("chosen.sqe", {"0123456789ABCDEF", "", "already enciphered?"});
  const std::string chosenBefore = FileText("chosen.sqe");
  ASSERT_NO_FATAL_FAILURE(StartWindow());

  // A cancelled dialog does nothing; Shift does not matter.
  Type({VK_CONTROL, VK_SHIFT, VK_MENU, VK_F4});
  ASSERT_NO_FATAL_FAILURE(CancelFileDialog());
  EXPECT_TRUE(NothingShown());

  EXPECT_TRUE(IsDoneBox(Encipher(folder_ + "sub\\other.sql")));
  EXPECT_EQ(Sqecrypt("sub\\other.sql tool.sqe", "tool.sqe"), FileText("sub\\other.SQE"));

  // An encrypted script chosen is its own output: enciphered a second time.
  EXPECT_TRUE(IsDoneBox(Encipher(folder_ + "chosen.sqe")));
  ASSERT_TRUE(WriteFileBytes(folder_ + "twice.sqe", chosenBefore));
  EXPECT_NE(chosenBefore, FileText("chosen.sqe"));
  EXPECT_EQ(Sqecrypt("twice.sqe", "twice.sqe"), FileText("chosen.sqe"));
  EXPECT_EQ(Lines{}, FilesStartingWith(folder_, "~"));

  EXPECT_TRUE(process_.Running());
  CloseExpecting(3);
}

TEST_F(EncryptionCommand, KeysDoNothingDuringARun) {
  WriteScript("VELDAR.SQL", {"create table t(n integer);", "GO"});
  WaitingProgram program("encrypt");
  WriteScript("running.sql", {program.Directive(), "create table r(n integer);", "GO"});
  ASSERT_NO_FATAL_FAILURE(StartRunUntil(program, "-Frunning.sql -Stestdb"));
  TypeCtrlAltF4();
  EXPECT_TRUE(NothingShown());
  program.Release();
  EXPECT_EQ(0, Finish());
  EXPECT_EQ("<missing>", FileText("VELDAR.SQE"));
  EXPECT_EQ((Lines{"r"}), Rows("select name from sqlite_master"));
}

TEST_F(EncryptionCommand, UnreadableScriptAndUnwritableOutputAreShownWithTheFileAndTheReason) {
  WriteScript("VELDAR.SQL", {"create table t(n integer);", "GO"});
  ASSERT_TRUE(WriteFileBytes(folder_ + "VELDAR.SQE", "previous\r\n"));
  ASSERT_TRUE(SetFileAttributesA((folder_ + "VELDAR.SQE").c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_NO_FATAL_FAILURE(StartWindow());
  // The failure's box names the file and the system's reason, with an icon.
  auto expectFailure = [&](const BoxTexts& box, const std::string& heading, const char* file, DWORD error) {
    EXPECT_EQ(Ansi(u8"出错了"), box.caption);
    EXPECT_EQ(heading + "\r\n" + folder_ + file + "\r\n" + SystemText(error), box.text);
    EXPECT_TRUE(box.icon);
  };

  expectFailure(Encipher(), text.writeFailed, "VELDAR.SQE", ERROR_ACCESS_DENIED);
  EXPECT_EQ("previous\r\n", FileText("VELDAR.SQE"));
  EXPECT_EQ(Lines{}, FilesStartingWith(folder_, "~"));

  ASSERT_TRUE(SetFileAttributesA((folder_ + "VELDAR.SQE").c_str(), FILE_ATTRIBUTE_NORMAL));
  HANDLE holder =
      CreateFileA((folder_ + "VELDAR.SQL").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, holder);
  expectFailure(Encipher(), text.readFailed, "VELDAR.SQL", ERROR_SHARING_VIOLATION);
  CloseHandle(holder);
  EXPECT_EQ("previous\r\n", FileText("VELDAR.SQE"));

  // The window goes on, and the next try succeeds.
  EXPECT_TRUE(IsDoneBox(Encipher()));
  EXPECT_EQ(Sqecrypt("VELDAR.SQL tool.sqe", "tool.sqe"), FileText("VELDAR.SQE"));
  CloseExpecting(3);
}

// Encrypted scripts written by the test itself, run unattended.
using EncryptedRun = VeldarRun;

TEST_F(EncryptedRun, SmallLetterSqeIsDecipheredAndTheMarkerBecomesTheClause) {
  WriteScript("small.sqe", {EncipheredLine("create table t(n integer, s text);"), EncipheredLine("GO"),
                            EncipheredLine("insert into t values(1, 'a"),
                            "7",  // a single digit stands for no byte: an empty line
                            "", EncipheredLine("b');"), EncipheredLine("GO"),
                            EncipheredLine("create view v as select 1 as n"), EncipheredLine("--LANTHORN--"),
                            EncipheredLine("go"), EncipheredLine("insert into t values(2, 'goes on');"),
                            EncipheredLine("GO")});
  // The clause is not the test driver's syntax: the batch fails and shows what was sent.
  EXPECT_EQ(1, Run("-Fsmall.sqe -Stestdb"));
  EXPECT_EQ((Lines{"1|a\r\n\r\n\r\nb", "2|goes on"}), Rows("select n, s from t order by n"));
  EXPECT_EQ((Lines{"t"}), Rows("select name from sqlite_master"));
  EXPECT_TRUE(
      LinesMatch(Errors("small"), {"", text.heading, "create view v as select 1 as n", "with Encryption",
                                   text.separator, text.result, "[SQLite]near \"with\": syntax error*"}));
}

}  // namespace
}  // namespace veldar_test
