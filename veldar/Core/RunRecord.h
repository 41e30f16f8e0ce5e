// The log file and the error file of one run, kept on the disk while the run goes on,
// so that a run ended from outside (killed, or the system going down) still leaves its
// record and never an earlier run's. The log holds the blocks written so far, the error
// file the failed blocks so far and, as its last line, a text saying that the run has
// not finished. What the logs gather is written at most about once a second, and when
// a block of the log has filled; at the end both files get the logs' whole text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Base/FileAccess.h"
#include "Core/RunLog.h"

class RunRecord {
 public:
  // How long gathered lines may wait before they are written.
  static constexpr std::uint32_t kWriteIntervalMs = 1000;

  // The logs are those of the run; the record only reads them.
  RunRecord(const RunLog& log, const RunLog& errors) : log_(log), errors_(errors) {}

  // Replaces an earlier run's files: the log starts empty, the error file holds only
  // `notFinished`. A file that cannot be created now is written whole by Finish.
  // Times are milliseconds of a clock that may wrap around (GetTickCount).
  void Start(const std::string& logFile, const std::string& errorFile, const std::string& notFinished,
             std::uint32_t nowMs);
  // Writes what the logs have gathered if a second has passed since the last write or a
  // block of the log has filled since.
  void WriteIfDue(std::uint32_t nowMs);
  // Writes what the logs have gathered now (before the run waits for a long time).
  void Write(std::uint32_t nowMs);
  // Gives each file the whole text of its log (the error log's last line in place of
  // the not-finished text) and flushes it to the disk. A file that could not be kept
  // while the run went on is written anew. The failures, the log's first.
  std::vector<FileFailure> Finish();

 private:
  struct Target {
    explicit Target(const RunLog& log) : lines(&log) {}
    const RunLog* lines;
    std::string name;
    OutputFile file;
    std::uint64_t written = 0;  // bytes of the log already in the file
  };

  // Writes the bytes of the log from `written` on, followed by `tail`, and with `end`
  // ends the file there; false when the file is not open or the writing fails (which
  // closes it).
  static bool WriteRest(Target& target, const std::string& tail, bool end, FileFailure& failure);
  static bool WriteWhole(Target& target, FileFailure& failure);

  Target log_;
  Target errors_;
  std::string notFinished_;  // the error file's last line while the run goes on, with CR LF
  std::uint32_t lastWrite_ = 0;
};
