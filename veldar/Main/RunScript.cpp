// TMainForm::RunScript: one installation run, from the window's inputs to the end of
// the program. The line loop itself is ScriptRunner; this file connects it to the
// window, the database, the files and the system.
#include <optional>

#include "Core/FileNames.h"
#include "Des/ScriptFile.h"
#include "Main/ExitCodes.h"
#include "Main/InstallerFiles.h"
#include "Main/MainForm.h"
#include "Main/Programs.h"
#include "Main/SystemSettings.h"
#include "resources/resource.h"

namespace {

// Fills each "%s" of a resource text with the next value, leaving the values as
// they are (a file name may hold "%").
std::string FillText(const std::string& pattern, const std::vector<std::string>& values) {
  std::string text;
  size_t next = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's' && next < values.size()) {
      text += values[next++];
      ++i;
    } else {
      text += pattern[i];
    }
  }
  return text;
}

}  // namespace

void TMainForm::RunScript() {
  FLogLines.Clear();
  FErrorLines.Clear();
  FServerName = WindowText(SNEdit);
  FUserName = WindowText(UNEdit);
  FPassword = WindowText(UPEdit);
  if (FServerName.empty() || FUserName.empty()) {
    MessageBeep(MB_OK);
    SetFocus(FServerName.empty() ? SNEdit : UNEdit);
    return;
  }

  std::string script;
  if (!ChooseScript(script)) {
    EndProgram(kExitCancelled);
    return;
  }
  FRunStarted = true;
  ScriptSettings settings;
  settings.exePath = FExePath;
  settings.placeholders = {FExeDir, FServerName, FUserName, FPassword};
  settings.encrypted = IsEncryptedScript(script, IsAnsiLeadByte);
  settings.cipher = &DES1;

  ShowRunControls();
  FInstalling = true;
  RefreshRunView(true);

  // The script is opened before the record replaces an earlier run's files: a script
  // named like its own log or error file keeps that file from being created over it,
  // and the file is written once the script has been read.
  ScriptFileReader reader;
  FileFailure notOpened;
  const bool opened = reader.Open(script, notOpened);
  const std::string logFile = OutputFileName(script, ".LOG", IsAnsiLeadByte);
  const std::string errorFile = OutputFileName(script, ".ERR", IsAnsiLeadByte);
  FRecord.Start(logFile, errorFile, LoadText(IDS_NOT_FINISHED), GetTickCount());
  if (!opened) {
    const std::string text = FileFailureText(notOpened);
    EndRunEarly(SplitLines(text), text, kExitFileError);
    return;
  }

  OdbcApi odbc = {};
  OdbcLoadFailure notLoaded;
  std::optional<Database> database;
  if (LoadSystemOdbc(odbc, &notLoaded)) database.emplace(odbc, static_cast<DatabaseHost&>(*this));
  if (!database || database->ConnectDatabase(FServerName, FUserName, FPassword) < 0) {
    EndFailedConnection(database ? &*database : nullptr, notLoaded);
    return;
  }

  FDatabase = &*database;
  const RunnerTexts texts = LoadRunnerTexts();
  ScriptRunner runner(*this, texts, settings, FLogLines, FErrorLines);
  const RunOutcome outcome = runner.Run(reader);
  reader.Close();
  FDatabase = nullptr;
  database->CloseDatabase();
  RefreshRunView(true);
  // A script that could not be read to its end ran only in part; the log says what ran.
  const bool readFailed = reader.ReadFailure().has_value();
  if (readFailed) {
    FRecord.Write(GetTickCount());
    ShowFileFailure(*reader.ReadFailure());
  }

  if (outcome.cancelled) {
    // What ran before the cancel has changed the database: the record says so.
    const std::string cancelled = LoadText(IDS_CANCELLED);
    FLogLines.Add(cancelled);
    FErrorLines.Add(cancelled);
  } else if (FErrorLines.Empty()) {
    FErrorLines.Add(LoadText(IDS_NO_ERRORS));
  }
  const bool written = FinishRecord();
  FInstalling = false;

  if (!outcome.cancelled && !readFailed) {
    if (!FUnattended && written) {
      const std::string question = FillText(LoadText(IDS_FINISHED), {logFile, errorFile});
      if (MessageBoxA(FWindow, question.c_str(), WindowText(FWindow).c_str(),
                      MB_ICONQUESTION | MB_YESNO | MB_DEFBUTTON1) == IDYES) {
        StartNotepad(logFile);
        StartNotepad(errorFile);
      }
    }
    // The module's entry goes from the run list whatever the batches did.
    if (!FModuleName.empty()) RemoveModuleFromRunList(FModuleName);
  }

  if (!written || readFailed) {
    EndProgram(kExitFileError);
  } else if (outcome.cancelled) {
    EndProgram(kExitCancelled);
  } else {
    EndProgram(outcome.failed ? kExitFailed : kExitSucceeded);
  }
}

void TMainForm::EndRunEarly(const std::vector<std::string>& reasons, const std::string& message,
                            int exitCode) {
  // The record says why the run ended before its first batch; it is complete before the
  // box waits for an answer.
  FLogLines.Add(reasons);
  FErrorLines.Add(reasons);
  FinishRecord();
  MessageBoxA(FWindow, message.c_str(), LoadText(IDS_ERROR_CAPTION).c_str(), MB_ICONERROR | MB_OK);
  FInstalling = false;
  EndProgram(exitCode);
}

void TMainForm::EndFailedConnection(Database* database, const OdbcLoadFailure& notLoaded) {
  // The record has every reason that the driver manager and the driver gave; the box
  // keeps its text and adds the first of them on a line of its own.
  const std::string failed = LoadText(IDS_CONNECT_FAILED);
  std::vector<std::string> lines = {failed};
  std::string first;
  if (database) {
    for (const DiagnosticRecord& record : database->ConnectionDiagnostics()) {
      if (lines.size() == 1) first = record.message;
      const std::string text = FillText(LoadText(IDS_DIAGNOSTIC),
                                        {record.state, std::to_string(record.nativeError), record.message});
      for (const std::string& line : SplitLines(text)) lines.push_back(line);
    }
    database->CloseDatabase();
  } else {
    first = FillText(LoadText(IDS_ODBC_NOT_LOADED), {notLoaded.name, SystemErrorText(notLoaded.error)});
    lines.push_back(first);
  }
  EndRunEarly(lines, first.empty() ? failed : failed + "\r\n" + first, kExitConnectionFailed);
}

bool TMainForm::ChooseScript(std::string& script) {
  script = ResolveScriptFile(FScriptFile, FExePath, FExeName, IsAnsiLeadByte);
  if (::FileExists(script)) return true;
  return OpenDialog1.Execute(FWindow, script);
}

bool TMainForm::FinishRecord() {
  const std::vector<FileFailure> failures = FRecord.Finish();
  for (const FileFailure& failure : failures) ShowFileFailure(failure);
  return failures.empty();
}

std::string TMainForm::FileFailureText(const FileFailure& failure) const {
  // What the installer reads is a script; what it writes, the record and enciphered scripts.
  const UINT textId = failure.kind == FileFailure::Kind::Read ? IDS_READ_FAILED : IDS_WRITE_FAILED;
  return FillText(LoadText(textId), {failure.file, failure.reason});
}

void TMainForm::ShowFileFailure(const FileFailure& failure) {
  MessageBoxA(FWindow, FileFailureText(failure).c_str(), LoadText(IDS_ERROR_CAPTION).c_str(),
              MB_ICONERROR | MB_OK);
}

std::string TMainForm::ResultLimitText(unsigned limit) const {
  return FillText(LoadText(IDS_RESULT_LIMIT), {std::to_string(limit)});
}

RunnerTexts TMainForm::LoadRunnerTexts() const {
  return {LoadText(IDS_SCRIPT_HEADING), LoadText(IDS_SEPARATOR),      LoadText(IDS_RESULT_HEADING),
          LoadText(IDS_SUCCEEDED),      LoadText(IDS_PROGRAM_FAILED), LoadText(IDS_ZERO_BYTE)};
}

int TMainForm::ExecuteBatch(const std::string& batch) {
  return FDatabase->ExecuteBatch(batch);
}

bool TMainForm::ReadServerPath(std::string& value) {
  return ::ReadServerPath(value);
}

bool TMainForm::FileExists(const std::string& name) {
  return ::FileExists(name);
}

bool TMainForm::CopyInstallFile(const std::string& source, const std::string& destination,
                                bool failIfExists) {
  return ::CopyInstallFile(source, destination, failIfExists);
}

bool TMainForm::CopyBackup(const std::string& source, const std::string& destination,
                           std::vector<std::string>& failure) {
  FileFailure reason;
  if (FBackup.Create(source, destination, reason)) return true;
  failure = {LoadText(IDS_BACKUP_FAILED)};
  switch (reason.kind) {
    case FileFailure::Kind::BadName:
      failure.push_back(FillText(LoadText(IDS_BACKUP_BAD_NAME), {reason.file}));
      break;
    case FileFailure::Kind::Link:
      failure.push_back(FillText(LoadText(IDS_BACKUP_LINK), {reason.file}));
      break;
    case FileFailure::Kind::Read:
    case FileFailure::Kind::Write:
      failure.push_back(reason.file);
      failure.push_back(reason.reason);
      break;
  }
  return false;
}

void TMainForm::RemoveBackup(const std::string&) {
  FBackup.Remove();
}

bool TMainForm::RunProgramAndWait(const std::string& commandLine, const std::string& parameters) {
  RefreshRunView(true);
  // The program may run for long: what the run has gathered goes to its files first.
  FRecord.Write(GetTickCount());
  // Woken only when messages arrive, so every wake drains the queue.
  return ::RunProgramAndWait(commandLine, parameters, [this] { PumpMessages(); });
}
