// VELDAR.exe driven through its window under Wine: the confirmation, the missing
// script's file dialog, the final question, Ctrl+Alt+F3, and a close request while a
// directive's program runs. The test finds the windows and message boxes of the
// program, reads them and presses their buttons.
#include <gtest/gtest.h>

#include "resources/resource.h"
#include "veldar_run.h"

namespace veldar_test {
namespace {

TEST_F(WindowRun, ConfirmationAnsweredNoKeepsTheInputPanel) {
  ASSERT_NO_FATAL_FAILURE(StartWindow());
  EXPECT_EQ(text.caption, WindowText(main_));
  EXPECT_EQ(ComputerName(), ControlText(PanelControl(IDC_SNEDIT)));
  EXPECT_EQ("sa", ControlText(PanelControl(IDC_UNEDIT)));
  EXPECT_FALSE(IsWindowEnabled(PanelControl(IDC_UNEDIT)));
  // Each label is sized to its text, measured on the form's device context.
  for (int label : {IDC_LABEL1, IDC_LABEL2, IDC_LABEL3, IDC_LABEL4, IDC_LABEL5, IDC_LABEL6}) {
    RECT box = {};
    EXPECT_TRUE(GetClientRect(PanelControl(label), &box) && box.right > 0 && box.bottom > 0) << label;
  }

  const BoxTexts box = ClickStart(IDNO);
  EXPECT_EQ(text.caption, box.caption);
  EXPECT_EQ(Ansi(u8"在安装或升级数据库之前，请确认:\r\n1. 安装或升级数据库在数据库服务器上进行。\r\n"
                 u8"2. C盘有足够的可用磁盘空间(100M以上)。\r\n3. SQL Server已正确安装。\r\n"
                 u8"4. 后台数据已正确备份。\r\n\r\n你确定要继续吗?"),
            box.text);
  Sleep(200);
  EXPECT_TRUE(process_.Running());
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(main_, IDC_PANEL1)));

  // Closed without a run: nothing was installed.
  CloseExpecting(3);
}

TEST_F(WindowRun, CancelledFileDialogForTheMissingScriptEndsTheProgram) {
  ForgetOutput("VELDAR");
  ASSERT_NO_FATAL_FAILURE(StartWindow());
  ASSERT_TRUE(ClickStart(IDYES).shown);
  ASSERT_NO_FATAL_FAILURE(CancelFileDialog());
  EXPECT_EQ(3, Finish());
  EXPECT_EQ("<missing>", Log("VELDAR"));
  EXPECT_EQ((Lines{"<no database file>"}), Rows("select 1"));
}

TEST_F(WindowRun, ChosenScriptRunsAndTheFinalQuestionNamesBothFiles) {
  HWND question = nullptr;
  ASSERT_NO_FATAL_FAILURE(RunChosenScriptToTheFinalQuestion(&question));
  EXPECT_EQ(text.caption, WindowText(question));
  EXPECT_EQ(
      Ansi(u8"安装完毕！\r\nC:\\chosen.LOG中记录了详细的安装日志。\r\nC:\\chosen.ERR中记录了错误信息。\r\n"
           u8"是否现在查看？"),
      MessageBoxText(question));
  // The files are written before the question.
  EXPECT_EQ(text.noErrors + "\r\n", Errors("chosen"));
  Press(question, IDNO);
  EXPECT_EQ(0, Finish());
  EXPECT_EQ((Lines{"t"}), Rows("select name from sqlite_master"));
  EXPECT_TRUE(WindowsTitled("chosen.").empty());
}

TEST_F(WindowRun, FinalQuestionAnsweredYesOpensBothFilesInNotepad) {
  HWND question = nullptr;
  ASSERT_NO_FATAL_FAILURE(RunChosenScriptToTheFinalQuestion(&question));
  Press(question, IDYES);
  EXPECT_EQ(0, Finish());
  std::vector<HWND> editors;
  WaitUntil([&] { return (editors = WindowsTitled("chosen.")).size() >= 2; }, 10000);
  ASSERT_EQ(2u, editors.size());
  std::string titles = WindowText(editors[0]) + "\n" + WindowText(editors[1]);
  EXPECT_NE(std::string::npos, titles.find("chosen.LOG")) << titles;
  EXPECT_NE(std::string::npos, titles.find("chosen.ERR")) << titles;
}

TEST_F(WindowRun, CtrlAltF3EnablesTheLoginBoxAndCtrlF3AloneDoesNot) {
  ASSERT_NO_FATAL_FAILURE(StartWindow());
  HWND login = PanelControl(IDC_UNEDIT);
  Type({VK_CONTROL, VK_F3});
  EXPECT_FALSE(IsWindowEnabled(login));
  Type({VK_MENU, VK_F3});
  EXPECT_FALSE(IsWindowEnabled(login));
  Type({VK_CONTROL, VK_MENU, VK_F3});
  EXPECT_TRUE(IsWindowEnabled(login));
  CloseExpecting(3);
}

TEST_F(WindowRun, CloseConfirmedWhileAProgramRunsCancelsAtTheNextBatchAndKeepsTheRecord) {
  WaitingProgram program("cancel");
  const std::string directive = program.Directive();
  WriteScript("cancel.sql", {"create table t(n integer);", "insert into t values(1);", "GO", directive,
                             "insert into t values(2);", "GO", "insert into t values(3);", "GO"});
  const std::string settings = SettingsFile();
  const std::string runList = "[SOFTWARE,Quillsys,Quorn_Ax,1.0,Run]\r\ncancel=C:\\setup.exe\r\n";
  ASSERT_TRUE(WriteFileBytes(settings, runList));
  ASSERT_NO_FATAL_FAILURE(StartRunUntil(program, "-Fcancel.sql -Stestdb -Mcancel"));
  PostMessageA(main_, WM_CLOSE, 0, 0);
  const BoxTexts box = AnswerBox(IDYES);
  EXPECT_EQ(text.caption, box.caption);
  EXPECT_EQ(Ansi(u8"真的取消安装吗？"), box.text);
  EXPECT_TRUE(process_.Running());  // the program of the directive still runs
  program.Release();
  EXPECT_EQ(3, Finish());
  // The installation did not finish: it stays in the run list.
  EXPECT_EQ(runList, ReadFileBytes(settings));
  DeleteFileA(settings.c_str());

  // The batch after the directive was sent; the connection then stopped it and does
  // not count it as successful.
  EXPECT_EQ((Lines{"1", "2"}), Rows("select n from t order by n"));
  const Lines cancelled = text.Block({"insert into t values(2);"}, text.cancelled);
  EXPECT_TRUE(LinesMatch(
      Log("cancel"), text.Block({"create table t(n integer);", "insert into t values(1);"}, text.succeeded) +
                         Lines{""} + text.Block({directive}, text.succeeded) + Lines{""} + cancelled));
  EXPECT_TRUE(LinesMatch(Errors("cancel"), Lines{""} + cancelled));
}

TEST_F(WindowRun, MinimisedRunDrawsNothingAndShowsItsCurrentBlockOnceRestored) {
  WaitingProgram first("first"), second("second");
  WriteScript("restore.sql", {first.Directive(), second.Directive()});
  ASSERT_NO_FATAL_FAILURE(StartRunUntil(first, "-Frestore.sql -Stestdb"));
  HWND memo = GetDlgItem(main_, IDC_MEMO1);
  const auto showing = [memo](const std::string& line) {
    return WaitUntil([&] { return ControlText(memo).find(line) != std::string::npos; }, 5000);
  };
  ASSERT_TRUE(showing(first.Directive()));
  ShowWindow(main_, SW_MINIMIZE);
  first.Release();
  ASSERT_TRUE(second.Started());
  EXPECT_NE(std::string::npos, ControlText(memo).find(first.Directive()));
  ShowWindow(main_, SW_RESTORE);
  EXPECT_TRUE(showing(second.Directive()));
  second.Release();
  EXPECT_EQ(0, Finish());
}

TEST_F(WindowRun, CloseRequestAnsweredNoLetsTheRunFinish) {
  WaitingProgram program("goon");
  WriteScript("goon.sql", {program.Directive(), "create table t(n integer);", "GO"});
  ASSERT_NO_FATAL_FAILURE(StartRunUntil(program, "-Fgoon.sql -Stestdb"));
  PostMessageA(main_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(AnswerBox(IDNO).shown);
  program.Release();
  EXPECT_EQ(0, Finish());
  EXPECT_EQ((Lines{"t"}), Rows("select name from sqlite_master"));
  EXPECT_EQ(text.noErrors + "\r\n", Errors("goon"));
}

}  // namespace
}  // namespace veldar_test
