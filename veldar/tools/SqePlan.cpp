#include "tools/SqePlan.h"

#include "tools/PlanReport.h"
#include "tools/ScriptPlan.h"
#include "toolsupport/ToolUsage.h"

namespace {

const char kUsage[] =
    "usage: sqeplan SCRIPT [-S server] [-U login] [-M module] [--source-dir FOLDER] [--json]\n"
    "Reads the installation script SCRIPT as a VELDAR run would (encrypted when its\n"
    "extension is .SQE) and prints, without a server, what the run would do: every batch\n"
    "with its lines, every directive with the copy, restore or command line it makes\n"
    "(placeholders filled in, the password shown as ***), and warnings: lines never\n"
    "sent, lines that look like GO but are not, empty batches, zero bytes, encrypted\n"
    "lines that are not whole blocks of hexadecimal digits, missing files.\n"
    "  -S, -U       server and login as given to VELDAR (default: <computer name>, sa)\n"
    "  -M           the module whose run list entry the run removes\n"
    "  --source-dir the program's folder (%SourceDir%), where the directives' files are\n"
    "               looked for; by default the script's folder, shown as <program folder>\n"
    "  --json       one JSON object in UTF-8 with batches, directives and warnings\n"
    "Exit codes: 0 no warnings, 1 warnings, 2 the script cannot be read or bad usage.\n";

const ToolUsage kSqeplan("sqeplan", kUsage, kSqeplanUnreadable);

}  // namespace

int RunSqeplan(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  PlanOptions options;
  std::string script;
  bool json = false;
  const std::vector<ToolSwitch> switches = {{"--json", &json, nullptr, nullptr},
                                            {"-S", nullptr, &options.server, "a value"},
                                            {"-U", nullptr, &options.login, "a value"},
                                            {"-M", nullptr, &options.module, "a value"},
                                            {"--source-dir", nullptr, &options.sourceDir, "a value"}};
  int code;
  if (!ReadToolArguments(kSqeplan, arguments, switches, "script", script, out, err, code)) return code;

  ScriptPlan plan;
  std::string error;
  if (!PlanScriptFile(script, options, plan, error)) {
    err << "sqeplan: cannot read " << script << ": " << error << "\n";
    return kSqeplanUnreadable;
  }
  out << (json ? PlanJson(plan) : PlanText(plan));
  return plan.warnings.empty() ? kSqeplanClean : kSqeplanWarnings;
}
