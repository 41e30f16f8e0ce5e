#include "Core/CommandLine.h"

namespace {

bool IsSwitchArgument(const std::string& arg) {
  return arg.size() >= 2 && (arg[0] == '-' || arg[0] == '/');
}

}  // namespace

bool HasSwitch(const std::vector<std::string>& args, const std::string& text) {
  for (const std::string& arg : args) {
    if (IsSwitchArgument(arg) && arg.find(text) == 1) return true;
  }
  return false;
}

std::string GetSwitchValue(const std::vector<std::string>& args, char letter) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!IsSwitchArgument(arg) || arg[1] != letter) continue;
    std::string value = arg.substr(2);
    if (value.empty() && i + 1 < args.size()) {
      const std::string& next = args[i + 1];
      if (next.empty() || (next[0] != '-' && next[0] != '/')) value = next;
    }
    return value;
  }
  return std::string();
}

StartOptions ParseStartOptions(const std::vector<std::string>& args) {
  StartOptions options;
  options.showUsage = HasSwitch(args, "?");
  if (options.showUsage) return options;
  options.unattended = !args.empty();
  if (!options.unattended) return options;
  options.server = GetSwitchValue(args, 'S');
  options.login = GetSwitchValue(args, 'U');
  options.password = GetSwitchValue(args, 'P');
  options.scriptFile = GetSwitchValue(args, 'F');
  options.moduleName = GetSwitchValue(args, 'M');
  return options;
}

std::string UsageText() {
  return "Usage:VELDAR.EXE                  \r\n"
         "       [-S     <[server]>]\r\n"
         "       [-U     <[login id]>]\r\n"
         "       [-P     <[password]>]\r\n"
         "       [-F     <[filename]>]\r\n"
         "       [-M     <[modulename]>]";
}
