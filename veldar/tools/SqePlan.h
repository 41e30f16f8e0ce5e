// sqeplan SCRIPT [-S server] [-U login] [-M module] [--source-dir FOLDER] [--json]:
// what a VELDAR run would do with a script, without a server.
#pragma once

#include <ostream>
#include <string>
#include <vector>

enum SqeplanExit { kSqeplanClean = 0, kSqeplanWarnings = 1, kSqeplanUnreadable = 2 };

// Runs the tool on its arguments (without the program name); the plan goes to `out`,
// failures and usage errors to `err`.
int RunSqeplan(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
