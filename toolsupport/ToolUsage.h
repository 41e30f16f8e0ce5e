// The command line of a console tool: its help switches, its usage text and the usage
// error, the same for every tool.
#pragma once

#include <ostream>
#include <string>
#include <vector>

class ToolUsage {
 public:
  // `text` is the tool's usage text; bad usage ends the tool with `badUsageCode`.
  ToolUsage(std::string tool, const char* text, int badUsageCode);

  // -h, --help, -? and /?: the usage text on the output and exit code 0.
  static bool IsHelp(const std::string& argument);
  // Anything with a dash in front but a dash alone (which stands for a file).
  static bool IsOption(const std::string& argument);

  int Help(std::ostream& out) const;
  // "<tool>: <problem>" and the usage text on the error output; the text alone when
  // there is no problem to name.
  int Bad(std::ostream& err, const std::string& problem) const;

 private:
  std::string tool_;
  const char* text_;
  int badUsageCode_;
};

// A switch of a tool that takes one input: a flag alone, or a value from the next
// argument ("needs <missing>" when there is none).
struct ToolSwitch {
  const char* name;
  bool* flag;
  std::string* value;
  const char* missing;
};

// Reads `arguments` as the switches and one input, called `input` in the messages
// ("script"), in their order: help, switches, an unknown option, a second input.
// Returns true when the tool is to run; otherwise `code` is the help's or the bad
// usage's exit code, with its text written.
bool ReadToolArguments(const ToolUsage& usage, const std::vector<std::string>& arguments,
                       const std::vector<ToolSwitch>& switches, const char* input, std::string& value,
                       std::ostream& out, std::ostream& err, int& code);
