// The plan of an installation run, made without a server: the run's own line loop
// (ScriptRunner) drives a host that records what the run would do instead of doing it,
// and the lines are looked at for the traps that the loop passes over in silence.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "Base/LineReader.h"

// Names that stand for what only the installing machine knows.
constexpr const char* kComputerNameShown = "<computer name>";
constexpr const char* kProgramFolderShown = "<program folder>";
constexpr const char* kServerProgramFolderShown = "<server program folder>";
constexpr const char* kServerDataFolderShown = "<server data folder>";
constexpr const char* kPasswordShown = "***";

struct PlanOptions {
  std::string server;     // empty: the computer's name, as the installer's default
  std::string login;      // empty: "sa"
  std::string module;     // the run list entry removed after the run; may be empty
  std::string sourceDir;  // the program's folder; empty: the script's own folder
  // Whether a file exists (not a folder); by default the file system is asked.
  std::function<bool(const std::string& name)> fileExists;
};

struct PlanBatch {
  size_t firstLine = 0;  // the first line after the previous batch end
  size_t lastLine = 0;   // its batch end: a "GO" line or a restore directive
  size_t lineCount = 0;  // lines of the batch text
  std::string firstText;  // its first non-blank line
  bool sent = true;       // false: it fails unsent
  std::string notSentBecause;  // why not: a zero byte, or a restore without its backup
};

struct PlanDirective {
  size_t line = 0;
  std::string kind;  // "copy", "restore", "execute", "comment", "marker"
  std::string source, destination;  // copy and restore: the file copied
  std::string text;  // execute: the command line; restore: the statement; comment and marker: the line
  std::string note;  // what else the run does or does not do with it
};

struct PlanWarning {
  size_t line = 0;
  std::string kind;  // "not-sent", "go-lookalike", "empty-batch", "zero-byte", "bad-hex", "missing-file"
  std::string message;
};

struct ScriptPlan {
  std::string script;
  bool encrypted = false;
  size_t lines = 0;
  std::string server, login, programFolder;
  std::string module;
  std::vector<PlanBatch> batches;
  std::vector<PlanDirective> directives;
  std::vector<PlanWarning> warnings;  // in line order
};

// Plans a script from its text read in pieces (`read` as for LineReader).
ScriptPlan PlanScript(const std::string& script, LineReader::ReadPiece read, const PlanOptions& options);
// Plans a script file; false when it cannot be read (`error` says why).
bool PlanScriptFile(const std::string& script, const PlanOptions& options, ScriptPlan& plan, std::string& error);
