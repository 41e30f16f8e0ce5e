#include "Core/ScriptRunner.h"

#include "Des/ScriptFile.h"

namespace {

// The preview shows script lines while the block has fewer lines than this.
constexpr size_t kPreviewLimit = 5;

class LineListSource : public ScriptSource {
 public:
  explicit LineListSource(const std::vector<std::string>& lines) : lines_(lines) {}
  size_t LineCount() const override { return lines_.size(); }
  bool NextLine(std::string& line) override {
    if (next_ == lines_.size()) return false;
    line = lines_[next_++];
    return true;
  }

 private:
  const std::vector<std::string>& lines_;
  size_t next_ = 0;
};

}  // namespace

std::string DecipherScriptLine(TEncryption& cipher, const std::string& line) {
  cipher.SetHexInput(line);
  cipher.Execute();
  return TrimTrailingChar(cipher.Output(), '\0');
}

ScriptRunner::ScriptRunner(RunnerHost& host, const RunnerTexts& texts, const ScriptSettings& settings,
                           RunLog& logLines, RunLog& errorLines)
    : host_(host), texts_(texts), settings_(settings), logLines_(logLines), errorLines_(errorLines) {}

RunOutcome ScriptRunner::Run(const std::vector<std::string>& lines) {
  LineListSource source(lines);
  return Run(source);
}

RunOutcome ScriptRunner::Run(ScriptSource& script) {
  batch_.clear();
  serverFolder_.clear();
  pendingRestore_.clear();
  restoreRefused_ = false;
  outcome_ = RunOutcome();
  if (settings_.cipher) settings_.cipher->SetAction(TActionType::Decryption);
  host_.AddOutputLine(texts_.scriptHeading);

  const size_t count = script.LineCount();
  std::string text;
  for (size_t i = 0; script.NextLine(text); ++i) {
    host_.SetProgress(i, count);
    const std::string* line = &text;
    std::string changed;
    // A line empty after deciphering is handled as an empty line.
    if (!line->empty() && settings_.encrypted) {
      changed = Decipher(*line);
      line = &changed;
    }
    bool sendBatch = false;
    if (!line->empty()) {
      switch (ClassifyLine(*line)) {
        case LineKind::Copy:
          CopyFile(*line);
          continue;
        case LineKind::Restore:
          // The restore statement joins the batch, which is sent at once.
          AddRestore(*line);
          sendBatch = true;
          break;
        case LineKind::Execute:
          Execute(*line);
          continue;
        case LineKind::BatchEnd:
          sendBatch = true;
          break;
        case LineKind::Sql:
          break;
      }
    }
    if (!sendBatch && settings_.encrypted && *line == kEncryptionMarker) {
      changed = kEncryptionClause;
      line = &changed;
    }
    if (!sendBatch) {
      AddSqlLine(*line);
    } else if (!SendBatch()) {
      return outcome_;
    }
  }
  return outcome_;
}

std::string ScriptRunner::Decipher(const std::string& line) {
  // Without a cipher nothing could be deciphered; the text is not sent as it is.
  if (!settings_.cipher) return std::string();
  return DecipherScriptLine(*settings_.cipher, line);
}

void ScriptRunner::CopyFile(const std::string& line) {
  const std::string name = CopyDirectiveFile(line);
  const std::string source = settings_.exePath + name;
  if (!host_.FileExists(source)) return;
  std::string path;
  if (!host_.ReadServerPath(path)) return;
  serverFolder_ = ServerProgramFolder(path, settings_.isLead);
  host_.CopyInstallFile(source, serverFolder_ + "\\" + name, false);
}

void ScriptRunner::AddRestore(const std::string& line) {
  std::string path;
  if (host_.ReadServerPath(path)) {
    serverFolder_ = DataFolder(ServerProgramFolder(path, settings_.isLead), settings_.isLead);
  }
  const RestoreDirective restore = ParseRestoreDirective(line);
  const std::string backup = "C:\\" + restore.file;
  refusal_.clear();
  restoreRefused_ = !host_.CopyBackup(settings_.exePath + restore.file, backup, refusal_);
  if (!restoreRefused_) pendingRestore_ = backup;
  const std::string statement = RestoreStatement(restore, serverFolder_);
  batch_.append(statement).append("\r\n");
  host_.AddOutputLine(statement);
}

void ScriptRunner::Execute(const std::string& line) {
  // The line is shown and logged as written: filled in, it may hold the password.
  host_.AddOutputLine(line);
  host_.AddOutputLine(texts_.separator);
  const std::string command = FillPlaceholders(ExecuteDirectiveCommand(line), settings_.placeholders);
  const bool started = host_.RunProgramAndWait(command, std::string());
  host_.AddOutputLine(texts_.resultHeading);
  if (started) {
    host_.AddOutputLine(texts_.succeeded);
  } else {
    host_.AddOutputLine(texts_.programFailed);
    AppendOutputTo(errorLines_);
    outcome_.failed = true;
  }
  AppendOutputTo(logLines_);
  StartNextBlock();
}

bool ScriptRunner::SendBatch() {
  host_.AddOutputLine(texts_.separator);
  host_.AddOutputLine(texts_.resultHeading);
  // A batch goes out as text that ends at a zero byte, so one that holds a zero byte (a
  // damaged script) would lose the rest unseen: it is not sent, and fails with the text
  // that would have gone.
  int result = -1;
  const size_t zero = batch_.find('\0');
  if (restoreRefused_) {
    // Without its own copy the server would restore whatever stands at the name.
    host_.RestoreBatchNotSent(batch_);
    for (const std::string& line : refusal_) host_.AddOutputLine(line);
    restoreRefused_ = false;
  } else if (zero == std::string::npos) {
    result = host_.ExecuteBatch(batch_);
  } else {
    host_.AddOutputLine(texts_.zeroByte);
    for (const std::string& line : SplitLines(batch_.substr(0, zero))) host_.AddOutputLine(line);
  }
  if (result >= 0) host_.AddOutputLine(texts_.succeeded);
  if (!pendingRestore_.empty()) {
    host_.RemoveBackup(pendingRestore_);
    pendingRestore_.clear();
  }
  if (result < 0) {
    AppendOutputTo(errorLines_);
    outcome_.failed = true;
  }
  AppendOutputTo(logLines_);
  if (host_.CancelRequested()) {
    outcome_.cancelled = true;
    return false;
  }
  batch_.clear();
  StartNextBlock();
  return true;
}

void ScriptRunner::AddSqlLine(const std::string& line) {
  batch_.append(line).append("\r\n");
  // The output and the log are text: a preview line ends where a zero byte is.
  if (line.empty() || host_.OutputLines().size() >= kPreviewLimit) return;
  const size_t zero = line.find('\0');
  if (zero == std::string::npos)
    host_.AddOutputLine(line);
  else
    host_.AddOutputLine(line.substr(0, zero));
}

void ScriptRunner::StartNextBlock() {
  host_.ClearOutput();
  host_.AddOutputLine(std::string());
  host_.AddOutputLine(texts_.scriptHeading);
}

void ScriptRunner::AppendOutputTo(RunLog& lines) const {
  lines.Add(host_.OutputLines());
}
