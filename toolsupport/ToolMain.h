// The body of every console tool's main().
#pragma once

#include <ostream>
#include <string>
#include <vector>

// A tool run on its arguments (without the program name), writing to `out` and `err`.
using ToolRun = int (*)(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

// Runs the tool on the program's arguments and writes what it wrote, every byte (zero
// bytes among them), to stdout and stderr; returns its exit code.
int RunToolMain(int argc, char** argv, ToolRun run);
