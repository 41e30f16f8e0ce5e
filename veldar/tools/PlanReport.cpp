#include "tools/PlanReport.h"

#include "Core/FileNames.h"
#include "toolsupport/JsonText.h"

namespace {

// The plain report shows at most this many bytes of a batch's first line.
constexpr size_t kFirstTextShown = 60;

std::string Cut(const std::string& text) {
  size_t end = 0;
  while (end < text.size()) {
    const size_t next = NextCharAt(text, end, IsAnsiLeadByte);
    if (next > kFirstTextShown) return text.substr(0, end) + "...";
    end = next;
  }
  return text;
}

std::string Lines(size_t first, size_t last) {
  if (first == last) return "line " + std::to_string(first);
  return "lines " + std::to_string(first) + "-" + std::to_string(last);
}

std::string BatchText(const PlanBatch& batch, size_t number) {
  std::string text = Lines(batch.firstLine, batch.lastLine) + ": batch " + std::to_string(number);
  text += batch.sent ? " sent" : " NOT sent (" + batch.notSentBecause + ") and counted as failed";
  text += ", " + std::to_string(batch.lineCount) + (batch.lineCount == 1 ? " line" : " lines");
  if (!batch.firstText.empty()) text += ", first " + ShownText(Cut(batch.firstText));
  return text + "\n";
}

std::string DirectiveText(const PlanDirective& directive) {
  std::string text = "line " + std::to_string(directive.line) + ": " + directive.kind + " ";
  if (!directive.source.empty()) text += ShownText(directive.source);
  if (!directive.destination.empty()) text += " -> " + ShownText(directive.destination);
  if (directive.kind == "restore" && !directive.text.empty()) text += ", then sends " + ShownText(directive.text);
  if (directive.kind != "restore" && !directive.text.empty()) text += ShownText(directive.text);
  if (!directive.note.empty()) text += "\n    " + directive.note;
  return text + "\n";
}

std::string ModuleText(const std::string& module) {
  return "after the run: the key " + ShownText(module) +
         " is deleted from the run list in QUORNAX.INI (system folder), unless the run was cancelled\n";
}

}  // namespace

std::string PlanText(const ScriptPlan& plan) {
  std::string text = "script " + ShownText(plan.script) + ": " + (plan.encrypted ? "encrypted" : "plain") + ", " +
                     std::to_string(plan.lines) + " lines\n";
  text += "run as server " + ShownText(plan.server) + ", login " + ShownText(plan.login) + ", password " +
          ShownText(kPasswordShown) + "; program folder (%SourceDir%) " + ShownText(plan.programFolder) +
          "; the server's folders from its App Paths entry\n";
  // Directives before the batch that a restore directive on the same line sends.
  size_t next = 0;
  for (size_t b = 0; b < plan.batches.size(); ++b) {
    while (next < plan.directives.size() && plan.directives[next].line <= plan.batches[b].lastLine)
      text += DirectiveText(plan.directives[next++]);
    text += BatchText(plan.batches[b], b + 1);
  }
  while (next < plan.directives.size()) text += DirectiveText(plan.directives[next++]);
  for (const PlanWarning& warning : plan.warnings)
    text += "warning, line " + std::to_string(warning.line) + " (" + warning.kind + "): " + warning.message + "\n";
  if (!plan.module.empty()) text += ModuleText(plan.module);
  text += std::to_string(plan.batches.size()) + " batches, " + std::to_string(plan.directives.size()) +
          " directives, " + std::to_string(plan.warnings.size()) + " warnings\n";
  return text;
}

std::string PlanJson(const ScriptPlan& plan) {
  size_t number = 0;
  JsonObject json;
  json.Text("script", plan.script).Flag("encrypted", plan.encrypted).Number("lines", plan.lines).NewLine();
  json.Text("server", plan.server).Text("login", plan.login).Text("password", kPasswordShown);
  json.Text("program_folder", plan.programFolder).TextOrNull("module", plan.module).NewLine();
  json.Objects("batches", plan.batches, [&number](JsonObject& object, const PlanBatch& batch) {
    object.Number("number", ++number).Number("first_line", batch.firstLine).Number("last_line", batch.lastLine);
    object.Number("line_count", batch.lineCount)
        .Flag("sent", batch.sent)
        .TextIfAny("not_sent_because", batch.notSentBecause)
        .Text("first_text", batch.firstText);
  });
  json.NewLine().Objects("directives", plan.directives, [](JsonObject& object, const PlanDirective& directive) {
    object.Number("line", directive.line).Text("kind", directive.kind).TextIfAny("source", directive.source);
    object.TextIfAny("destination", directive.destination).TextIfAny("text", directive.text);
    object.TextIfAny("note", directive.note);
  });
  json.NewLine().Objects("warnings", plan.warnings, [](JsonObject& object, const PlanWarning& warning) {
    object.Number("line", warning.line).Text("kind", warning.kind).Text("message", warning.message);
  });
  return json.Close() + "\n";
}
