#include "base/ErrorState.h"

#include <cstdlib>

ErrorState errorState;

void ErrorState::MemoryError() {
  exitCode = kMemoryErrorExitCode;
  ++errorCount;
  // Nothing in the program can go on without the memory it asked for.
  std::exit(exitCode);
}
