// What the uninstall would do with an installation list in a folder: its deletion
// passes played through on a snapshot of the folder with the program's own reading of
// the list, and the lines it would leave unused, each with its reason.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/FolderSnapshot.h"

// The files of the folder that the uninstall handles apart from the passes.
constexpr const char* kUninstallProgram = "uninstall.exe";

struct ListDelete {
  size_t line = 0;
  std::string entry;  // as written in the list, stripped
  bool folder = false;
  int pass = 0;       // the pass that deletes it; 0 when the uninstall deletes it otherwise
  std::string when;   // for pass 0: when and why
};

struct ListSkip {
  size_t line = 0;
  std::string entry;   // empty for a line that cannot be read whole
  std::string reason;  // "leaves the folder", "line too long", "zero byte", "path too long",
                       // "does not exist", "already deleted", "folder not empty", "the program's folder"
  std::string detail;
};

struct ListReport {
  size_t lines = 0;
  int passes = 0;
  std::vector<ListDelete> deletes;      // in the order of the passes
  std::vector<ListSkip> skips;          // by line
  std::vector<std::string> remaining;   // what stays in the folder afterwards
};

// `folder` is the folder as the full paths begin (with its trailing backslash); the
// snapshot holds its contents and is played through.
ListReport CheckInstallationList(FILE* list, const std::string& folder, FolderSnapshot& snapshot);
