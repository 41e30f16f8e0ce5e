// What the deletion passes could not delete, in the order in which the system can
// remove it at the next restart: a folder goes only when it is empty by then, so it
// must come after everything inside it.
#pragma once

#include <string>
#include <vector>

struct Leftover {
  std::string path;
  bool folder;
};

// The number of named parts of a path: parts made only of dots and blanks (".", or
// what the system trims to nothing) do not count, nor do empty ones. The trail byte of
// a double-byte character is never taken for a separator.
int CountPathParts(const char* path);

// Files first, in their order; then the folders, each one after every folder with more
// parts (so after the folders inside it), otherwise in their order.
void OrderForRestart(std::vector<Leftover>* leftovers);
