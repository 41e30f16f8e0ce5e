// What VELDAR's exit code tells the setup package that started it.
#pragma once

enum ExitCode : int {
  kExitSucceeded = 0,         // every batch and program succeeded (also: usage text shown)
  kExitFailed = 1,            // a batch or a directive's program failed; the error file says which
  kExitConnectionFailed = 2,  // the connection to the server failed
  kExitCancelled = 3,         // the run was cancelled, or the window closed without a run
  kExitFileError = 4,         // the script could not be read, or the log or error file not written
};
