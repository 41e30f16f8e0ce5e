#include "toolsupport/ToolUsage.h"

#include <utility>

ToolUsage::ToolUsage(std::string tool, const char* text, int badUsageCode)
    : tool_(std::move(tool)), text_(text), badUsageCode_(badUsageCode) {}

bool ToolUsage::IsHelp(const std::string& argument) {
  return argument == "-h" || argument == "--help" || argument == "-?" || argument == "/?";
}

bool ToolUsage::IsOption(const std::string& argument) {
  return argument.size() > 1 && argument[0] == '-';
}

int ToolUsage::Help(std::ostream& out) const {
  out << text_;
  return 0;
}

int ToolUsage::Bad(std::ostream& err, const std::string& problem) const {
  if (!problem.empty()) err << tool_ << ": " << problem << "\n";
  err << text_;
  return badUsageCode_;
}

bool ReadToolArguments(const ToolUsage& usage, const std::vector<std::string>& arguments,
                       const std::vector<ToolSwitch>& switches, const char* input, std::string& value,
                       std::ostream& out, std::ostream& err, int& code) {
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (ToolUsage::IsHelp(argument)) {
      code = usage.Help(out);
      return false;
    }
    const ToolSwitch* known = nullptr;
    for (const ToolSwitch& candidate : switches)
      if (argument == candidate.name) known = &candidate;
    if (known && known->flag) {
      *known->flag = true;
    } else if (known) {
      if (i + 1 == arguments.size()) {
        code = usage.Bad(err, argument + " needs " + known->missing);
        return false;
      }
      *known->value = arguments[++i];
    } else if (ToolUsage::IsOption(argument)) {
      code = usage.Bad(err, "unknown option " + argument);
      return false;
    } else if (!value.empty()) {
      code = usage.Bad(err, std::string("more than one ") + input);
      return false;
    } else {
      value = argument;
    }
  }
  if (value.empty()) code = usage.Bad(err, std::string("no ") + input + " given");
  return !value.empty();
}
