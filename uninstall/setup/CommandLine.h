// The switches of the command line. The last "/" decides the mode, unless the text from
// it to the end is exactly "/s": that makes the run silent, and the first "/" decides.
#pragma once

struct CommandLine {
  bool silent = false;
  bool uninstall = false;  // no "/" at all
  bool setup = false;      // deciding switch begins with "/setup"
  bool wait = false;       // ... with "/wait"
  bool warning = false;    // ... with "/warning"
};

CommandLine ParseCommandLine(const char* text);
