// The files a run reads and writes: the script and the copies made by directives (the
// log and error files are Core/RunRecord's). Failures come back as a FileFailure.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "Base/FileAccess.h"
#include "Base/Handle.h"
#include "Base/LineReader.h"
#include "Core/ScriptRunner.h"

// A script read from its file a block at a time, so that a long script is never held
// in memory whole. Open reads it once to count its lines (the range of the progress
// bar); the lines then come one at a time. Others may read the file meanwhile, but
// not change it.
class ScriptFileReader : public ScriptSource {
 public:
  ScriptFileReader() = default;
  // The reader reads through this object: it stays where it was opened.
  ScriptFileReader(const ScriptFileReader&) = delete;
  ScriptFileReader& operator=(const ScriptFileReader&) = delete;

  bool Open(const std::string& name, FileFailure& failure);
  size_t LineCount() const override { return lineCount_; }
  bool NextLine(std::string& line) override { return reader_ && reader_->Next(line); }
  // Set when a read failed after Open: the lines stopped early.
  const std::optional<FileFailure>& ReadFailure() const { return readFailure_; }
  // Lets others change the file again (the log may be written over the script).
  void Close();

 private:
  size_t ReadPiece(char* buffer, size_t size);
  void ReadFailed(DWORD error);

  std::string name_;
  KernelHandle file_;
  std::optional<LineReader> reader_;
  size_t lineCount_ = 0;
  std::optional<FileFailure> readFailure_;
};

// Copies over a destination even if it is marked read-only; both copies end up with
// only the archive attribute.
bool CopyInstallFile(const std::string& source, const std::string& destination, bool failIfExists);
