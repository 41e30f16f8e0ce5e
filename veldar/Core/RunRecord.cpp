#include "Core/RunRecord.h"

void RunRecord::Start(const std::string& logFile, const std::string& errorFile,
                      const std::string& notFinished, std::uint32_t nowMs) {
  notFinished_ = notFinished + "\r\n";
  lastWrite_ = nowMs;
  // A file that cannot be created now is tried again at the end, where a failure is shown.
  FileFailure ignored;
  for (Target* target : {&log_, &errors_}) {
    target->name = target == &log_ ? logFile : errorFile;
    target->written = 0;
    if (target->file.Create(target->name, ignored))
      WriteRest(*target, target == &errors_ ? notFinished_ : "", false, ignored);
  }
}

void RunRecord::WriteIfDue(std::uint32_t nowMs) {
  const bool blockFilled =
      log_.file.IsOpen() && log_.lines->Size() / RunLog::kBlockSize > log_.written / RunLog::kBlockSize;
  if (blockFilled || nowMs - lastWrite_ >= kWriteIntervalMs) Write(nowMs);
}

void RunRecord::Write(std::uint32_t nowMs) {
  lastWrite_ = nowMs;
  FileFailure ignored;
  if (log_.written < log_.lines->Size()) WriteRest(log_, std::string(), false, ignored);
  if (errors_.written < errors_.lines->Size()) WriteRest(errors_, notFinished_, false, ignored);
}

std::vector<FileFailure> RunRecord::Finish() {
  std::vector<FileFailure> failures;
  for (Target* target : {&log_, &errors_}) {
    FileFailure failure;
    const bool kept = WriteRest(*target, std::string(), true, failure) && target->file.Close(failure);
    if (!kept && !WriteWhole(*target, failure)) failures.push_back(failure);
  }
  return failures;
}

bool RunRecord::WriteRest(Target& target, const std::string& tail, bool end, FileFailure& failure) {
  OutputFile& file = target.file;
  if (!file.IsOpen()) return false;
  const RunLog& lines = *target.lines;
  const std::uint64_t size = lines.Size();
  bool written = true;
  if (!tail.empty()) {
    // Joined, the gathered lines and the last line go out in one write: the file never
    // ends without that line.
    std::string text;
    for (std::uint64_t at = target.written; at < size; at += lines.Piece(at).size()) text += lines.Piece(at);
    written = file.WriteAt(target.written, text + tail, end, failure);
  } else {
    for (std::uint64_t at = target.written; written && at < size; at += lines.Piece(at).size())
      written = file.WriteAt(at, lines.Piece(at), false, failure);
    if (end) written = written && file.WriteAt(size, std::string_view(), true, failure);
  }
  if (!written) {
    // What the file holds is not known now: it is written whole at the end.
    file.Abandon();
    return false;
  }
  target.written = size;
  return true;
}

bool RunRecord::WriteWhole(Target& target, FileFailure& failure) {
  target.written = 0;
  return target.file.Create(target.name, failure) && WriteRest(target, std::string(), true, failure) &&
         target.file.Close(failure);
}
