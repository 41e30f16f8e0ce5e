// The line loop of an installation run: directives, batches up to "GO" lines, the
// live output blocks and the run log and error log. Everything outside (the window's
// output and progress, the database, files, the registry, programs) is reached
// through RunnerHost, so the loop runs the same under a window and in tests.
#pragma once

#include <string>
#include <vector>

#include "Core/RunLog.h"
#include "Core/ScriptLines.h"
#include "Des/Encryption.h"

// The lines of a script, one at a time.
class ScriptSource {
 public:
  virtual ~ScriptSource() = default;
  virtual size_t LineCount() const = 0;
  // The next line; false after the last one.
  virtual bool NextLine(std::string& line) = 0;
};

class RunnerHost {
 public:
  virtual ~RunnerHost() = default;

  // The live output (Memo1): one block at a time.
  virtual void AddOutputLine(const std::string& line) = 0;
  virtual void ClearOutput() = 0;
  virtual const std::vector<std::string>& OutputLines() const = 0;
  // Index of the line being handled; the range is the number of lines.
  virtual void SetProgress(size_t position, size_t count) = 0;

  // Sends one batch; the server's messages go to the live output. Negative: failed.
  virtual int ExecuteBatch(const std::string& batch) = 0;
  virtual bool CancelRequested() const = 0;

  // The "Path" value of the server's App Paths entry; false when the key does not open.
  virtual bool ReadServerPath(std::string& value) = 0;
  virtual bool FileExists(const std::string& name) = 0;
  virtual bool CopyInstallFile(const std::string& source, const std::string& destination,
                               bool failIfExists) = 0;
  // Copies a restore directive's backup to `destination` in C:\ as a new file of the
  // run's own; false, with the lines that say why, when it was not copied.
  virtual bool CopyBackup(const std::string& source, const std::string& destination,
                          std::vector<std::string>& failure) = 0;
  // Deletes the backup copy, if the name still leads to the file that CopyBackup made.
  virtual void RemoveBackup(const std::string& name) = 0;
  // The batch of a restore whose copy was not made: it fails without being sent. The
  // output and the log have their lines already; a host that records batches hears it here.
  virtual void RestoreBatchNotSent(const std::string& /*batch*/) {}
  // True if the program could be started; returns when it has ended.
  virtual bool RunProgramAndWait(const std::string& commandLine, const std::string& parameters) = 0;
};

// The fixed lines of the live output, in the system's code page.
struct RunnerTexts {
  std::string scriptHeading;  // heading of the preview of the next batch
  std::string separator;      // between a preview and its result
  std::string resultHeading;  // heading of a result
  std::string succeeded;      // a batch or program finished successfully
  std::string programFailed;  // the program of an execute directive did not start
  std::string zeroByte;       // a batch holds a zero byte and was not sent
};

struct ScriptSettings {
  std::string exePath;  // the program's folder with a trailing backslash
  PlaceholderValues placeholders;
  // Lines of an encrypted script are deciphered with the cipher before they are
  // tested, and the encryption marker counts in them.
  bool encrypted = false;
  // The window's cipher component; every run sets it to deciphering first.
  TEncryption* cipher = nullptr;
  // Lead bytes of the code page of the script and the registry's folder names.
  LeadByteTest isLead = IsAnsiLeadByte;
};

// The plain text of a non-empty line of an encrypted script: the line as read goes to
// the cipher as hexadecimal text, and the zero bytes that filled the last block are
// cut off. The cipher must be set to deciphering.
std::string DecipherScriptLine(TEncryption& cipher, const std::string& line);

struct RunOutcome {
  bool failed = false;     // a batch or a directive's program failed
  bool cancelled = false;  // the run stopped after a batch because cancel was requested
};

class ScriptRunner {
 public:
  ScriptRunner(RunnerHost& host, const RunnerTexts& texts, const ScriptSettings& settings,
               RunLog& logLines, RunLog& errorLines);

  // Handles every line. Lines after the last batch end are not sent.
  RunOutcome Run(ScriptSource& script);
  RunOutcome Run(const std::vector<std::string>& lines);

 private:
  // The plain text of a non-empty line of an encrypted script.
  std::string Decipher(const std::string& line);
  void CopyFile(const std::string& line);
  void AddRestore(const std::string& line);
  void Execute(const std::string& line);
  // Sends the gathered batch; false when the run is to stop (cancel requested).
  bool SendBatch();
  void AddSqlLine(const std::string& line);
  void StartNextBlock();
  void AppendOutputTo(RunLog& lines) const;

  RunnerHost& host_;
  const RunnerTexts& texts_;
  const ScriptSettings& settings_;
  RunLog& logLines_;
  RunLog& errorLines_;

  std::string batch_;
  std::string serverFolder_;          // last folder a directive read from the registry
  std::string pendingRestore_;        // backup copied to C:\ until its batch has been sent
  bool restoreRefused_ = false;       // the backup was not copied: its batch is not sent
  std::vector<std::string> refusal_;  // why not
  RunOutcome outcome_;
};
