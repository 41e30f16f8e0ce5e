// Deleting what the installation list names, in repeated passes: a folder listed before
// the files inside it can only be removed in a later pass, once they are gone.
#pragma once

#include <cstdio>
#include <vector>

#include "remove/Leftovers.h"

// Deletes one listed file or (empty) folder after clearing its attributes, so that
// read-only, hidden and system files go too. True when something was deleted.
bool DeleteListedPath(const char* path);

// Passes over the whole list, each deleting every entry it can, until a pass deletes
// nothing. `folder` is the program's folder with a trailing backslash. Returns the
// number of passes made.
int RunDeletionPasses(FILE* list, const char* folder);

// Deletes the help viewer's index files in the current directory, whatever their
// attributes; failures are ignored.
void DeleteHelpIndexFiles();

// What the passes left, for the removal at the restart: the list's entries that are
// still there apart from the program file `program` (the self-removal batch deletes it
// once this process has ended), in the list's order; then the list itself and the help
// index files, which go by name (whether they are still there is seen when they are
// scheduled). Reads the list from its start.
std::vector<Leftover> FindLeftovers(FILE* list, const char* folder, const char* program);
