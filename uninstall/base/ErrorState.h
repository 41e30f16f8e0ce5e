// The process-wide record of failures of the file layer and of the growable arrays.
// Only running out of memory has an effect: the process ends with exit code 8.
#pragma once

struct ErrorState {
  int exitCode = 0;
  int errorCount = 0;

  [[noreturn]] void MemoryError();
  // File failures show in the results of the File operations; nothing more happens.
  void CloseError() {}
  void ReadError() {}
  void SeekError() {}
};

extern ErrorState errorState;

constexpr int kMemoryErrorExitCode = 8;
