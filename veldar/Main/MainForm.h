// TMainForm: the installer's one window. It holds the run's inputs (server, login,
// password, script, module), shows the input panel until a run starts and the run's
// animation, progress and output while it goes, and ends the program after a run.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "Base/Handle.h"
#include "Core/CommandLine.h"
#include "Core/RunLog.h"
#include "Core/RunRecord.h"
#include "Core/ScriptRunner.h"
#include "Database/Database.h"
#include "Des/Encryption.h"
#include "Main/BackupCopy.h"
#include "Main/OpenDialog.h"
#include "Main/OutputMemo.h"

// The whole text of a window or control.
std::string WindowText(HWND window);

class TMainForm : private DatabaseHost, private RunnerHost {
 public:
  TMainForm(HINSTANCE instance, std::vector<std::string> arguments);
  ~TMainForm() override;
  TMainForm(const TMainForm&) = delete;
  TMainForm& operator=(const TMainForm&) = delete;

  // Creates the window and handles the command line. False when the program is to
  // end at once (usage text shown, or no window); ExitCode says how.
  bool Create();
  void Show(int showCommand);
  // Dispatches one queued message: the key preview first, then keyboard navigation
  // between the controls, then the window procedure.
  void DispatchFormMessage(MSG& message);
  int ExitCode() const { return FExitCode; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK PanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void HandleCommand(WORD id, WORD code);

  // Event handlers.
  void FormCreate();
  void SetupBtnClick();
  void FormCloseQuery(bool& canClose);
  // True when the keys were a command of the form's; they go no further then.
  // `repeated`: the key is held down and repeats.
  bool FormKeyDown(WORD key, bool ctrl, bool alt, bool repeated);
  void FormDestroy();

  void CreateControls();
  void ShowRunControls();
  // Shows the run's latest output and progress, at most four times a second unless
  // forced, and only while some of the window can be seen.
  void RefreshRunView(bool force);
  bool RunViewVisible() const;
  // Dispatches every pending message (and shows the run's latest state).
  void PumpMessages();
  // Ends the message loop; the program exits with this code.
  void EndProgram(int exitCode);
  std::string LoadText(UINT id) const;
  int AskQuestion(UINT textId, UINT defaultButton);

  // The script encryption command (EncryptCommand.cpp).
  void EncryptScriptCommand();
  std::string ApplicationTitle() const;

  // The run (RunScript.cpp).
  void RunScript();
  bool ChooseScript(std::string& script);
  // Ends a run that could not send a batch: the reasons go to the record, the message
  // to a box, and the program ends with the exit code.
  void EndRunEarly(const std::vector<std::string>& reasons, const std::string& message, int exitCode);
  // Ends a run whose connection failed, with the driver's reasons, or with the reason
  // why the driver manager did not load when there is no `database`.
  void EndFailedConnection(Database* database, const OdbcLoadFailure& notLoaded);
  // Gives the record its final text and shows the files that could not be written.
  bool FinishRecord();
  // A failed file operation: the text that names the file and the system's reason, and
  // the message box that shows it.
  std::string FileFailureText(const FileFailure& failure) const;
  void ShowFileFailure(const FileFailure& failure);
  RunnerTexts LoadRunnerTexts() const;

  // DatabaseHost and RunnerHost.
  void AddOutputLine(const std::string& line) override;
  void ProcessMessages(unsigned timeoutMs) override;
  bool CancelRequested() const override { return FCancelRequested; }
  std::string ResultLimitText(unsigned limit) const override;
  void ClearOutput() override;
  const std::vector<std::string>& OutputLines() const override { return Memo1.Lines(); }
  void SetProgress(size_t position, size_t count) override;
  int ExecuteBatch(const std::string& batch) override;
  bool ReadServerPath(std::string& value) override;
  bool FileExists(const std::string& name) override;
  bool CopyInstallFile(const std::string& source, const std::string& destination, bool failIfExists) override;
  bool CopyBackup(const std::string& source, const std::string& destination,
                  std::vector<std::string>& failure) override;
  void RemoveBackup(const std::string& name) override;
  bool RunProgramAndWait(const std::string& commandLine, const std::string& parameters) override;

  HINSTANCE FInstance;
  std::vector<std::string> FArguments;
  HWND FWindow = nullptr;
  WNDPROC FPanelDefaultProc = nullptr;
  int FDpi = 96;
  FontHandle FFont;
  ImageListHandle FGlyphs;
  int FGlyphSize = 32;
  int FExitCode = 0;
  bool FEnded = false;
  Database* FDatabase = nullptr;  // the connection of the run in progress
  BackupCopy FBackup;             // a restore directive's copy until its batch has been sent
  bool FRunStarted = false;       // a script was chosen: the run ends the program
  size_t FProgressPosition = 0;
  size_t FProgressCount = 0;
  bool FProgressChanged = false;
  DWORD FViewRefresh = 0;
  DWORD FLastMessageCheck = 0;

  // Controls.
  HWND Animate1 = nullptr;
  HWND ProgressBar = nullptr;
  OutputMemo Memo1;
  HWND Panel1 = nullptr;
  HWND SetupBtn = nullptr;
  HWND SNEdit = nullptr;
  HWND UNEdit = nullptr;
  HWND UPEdit = nullptr;
  HWND Label1 = nullptr, Label2 = nullptr, Label3 = nullptr, Label4 = nullptr, Label5 = nullptr,
       Label6 = nullptr;
  HWND Bevel1 = nullptr;
  TOpenDialog OpenDialog1;
  // The line cipher: enciphers scripts for the encryption command, deciphers
  // encrypted scripts during a run.
  TEncryption DES1;

  // The run's inputs and state.
  bool FInstalling = false;
  bool FCancelRequested = false;
  bool FUnattended = false;
  std::string FExePath;
  std::string FExeDir;
  std::string FExeName;
  std::string FServerName;
  std::string FUserName;
  std::string FPassword;
  std::string FScriptFile;
  std::string FModuleName;
  RunLog FLogLines;
  RunLog FErrorLines;
  // The run's log and error files, written as the two logs grow.
  RunRecord FRecord{FLogLines, FErrorLines};
};
