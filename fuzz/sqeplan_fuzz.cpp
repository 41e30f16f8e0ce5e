// Any bytes as a plain and as an encrypted script: the plan made through the run's own
// line loop holds together (batches follow one another, every line named lies in the
// script) and its reports carry no raw control byte but their own line ends.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tools/PlanReport.h"
#include "tests/text_pieces.h"
#include "tools/ScriptPlan.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const char* script : {"dir/a.sql", "dir/a.SQE"}) {
    PlanOptions options;
    options.fileExists = [](const std::string& name) { return name.size() % 2 == 0; };
    const ScriptPlan plan = PlanScript(script, PiecesOf(text), options);
    size_t next = 1;
    for (const PlanBatch& batch : plan.batches) {
      if (batch.firstLine != next || batch.lastLine < batch.firstLine || batch.lastLine > plan.lines)
        std::abort();
      next = batch.lastLine + 1;
    }
    for (const PlanDirective& directive : plan.directives)
      if (directive.line < 1 || directive.line > plan.lines) std::abort();
    for (const PlanWarning& warning : plan.warnings)
      if (warning.line < 1 || warning.line > plan.lines) std::abort();
    for (const std::string& report : {PlanText(plan), PlanJson(plan)})
      for (const char c : report)
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\n') || c == 0x7F) std::abort();
  }
  return 0;
}
