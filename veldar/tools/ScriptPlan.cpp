#include "tools/ScriptPlan.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "Core/ScriptLines.h"
#include "Core/ScriptRunner.h"
#include "Des/ScriptFile.h"
#include "tools/FileCheck.h"
#include "toolsupport/JsonText.h"
#include "tools/PlanningHost.h"

namespace {

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

char UpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// A line that an author may take for a batch end: "GO" followed by a semicolon, a
// count, a comment or other punctuation, "GO" with digits, or a lone "GOTO".
bool IsGoLookalike(const std::string& line) {
  std::string word = TrimBlanks(line);
  for (char& c : word) c = UpperAscii(c);
  if (word.size() <= 2 || word.compare(0, 2, "GO") != 0) return false;
  if (word == "GOTO") return true;
  const char next = word[2];
  const bool identifier = (next >= 'A' && next <= 'Z') || next == '_' || static_cast<unsigned char>(next) >= 0x80;
  if (!identifier && !(next >= '0' && next <= '9')) return true;
  return word.find_first_not_of("0123456789", 2) == std::string::npos;
}

// What is wrong with the hexadecimal text of an encrypted line; empty when nothing is.
std::string HexProblems(const std::string& line) {
  std::string problems;
  const auto add = [&problems](const std::string& problem) {
    problems += (problems.empty() ? "" : "; ") + problem;
  };
  for (size_t i = 0; i < line.size(); ++i) {
    if (!IsHexDigit(line[i])) {
      add(ShownText(line.substr(i, 1)) + " at column " + std::to_string(i + 1) +
          " is not a hexadecimal digit: its pair deciphers as a zero byte");
      break;
    }
  }
  if (line.size() % 2 != 0) add("an odd number of digits (" + std::to_string(line.size()) + "): the last is ignored");
  if (line.size() % 16 != 0)
    add(std::to_string(line.size()) + " digits are not whole blocks of 16: the last block deciphers to other bytes");
  return problems;
}

// The lines of the script as the loop reads them. Each is looked at before the loop
// handles it, for what the loop passes over without a word.
class InspectedScript : public ScriptSource {
 public:
  InspectedScript(LineReader::ReadPiece read, ScriptPlan& plan) : reader_(std::move(read)), plan_(plan) {
    cipher_.SetKey(kScriptKey);
    cipher_.SetAction(TActionType::Decryption);
  }

  // Only the window's progress bar uses the count.
  size_t LineCount() const override { return 0; }

  bool NextLine(std::string& line) override {
    if (!reader_.Next(line)) return false;
    Inspect(++plan_.lines, line);
    return true;
  }

  // Lines gathered after the last batch end are never sent.
  void Finish() {
    ForgetSentLines();
    if (unsentFirst_ == 0) return;
    const std::string range = "lines " + std::to_string(unsentFirst_) + "-" + std::to_string(unsentLast_);
    const std::string message =
        plan_.batches.empty()
            ? range + " are never sent: the script has no batch end (\"GO\")"
            : range + " come after the last batch end (line " + std::to_string(plan_.batches.back().lastLine) +
                  ") and are never sent";
    AddWarning(unsentFirst_, "not-sent", message);
  }

 private:
  void Inspect(size_t number, const std::string& raw) {
    ForgetSentLines();
    std::string text = raw;
    if (plan_.encrypted && !raw.empty()) {
      const std::string problems = HexProblems(raw);
      if (!problems.empty()) AddWarning(number, "bad-hex", problems);
      text = DecipherScriptLine(cipher_, raw);
    }
    const LineKind kind = text.empty() ? LineKind::Sql : ClassifyLine(text);
    if (text.find('\0') != std::string::npos) AddWarning(number, "zero-byte", ZeroByteMessage(kind));
    if (kind != LineKind::Sql) return;

    const std::string trimmed = TrimBlanks(text);
    if (!trimmed.empty()) {
      if (unsentFirst_ == 0) unsentFirst_ = number;
      unsentLast_ = number;
    }
    if (IsGoLookalike(text)) {
      AddWarning(number, "go-lookalike",
                 ShownText(trimmed) + " is not a batch end (only \"GO\" alone on its line is): it is sent as SQL text");
    }
    if (text == kEncryptionMarker) {
      if (plan_.encrypted) {
        AddDirective(number, "marker", text, "sent as \"" + std::string(kEncryptionClause) + "\"");
      } else {
        AddDirective(number, "comment", text,
                     "the encryption marker counts only in encrypted scripts: here it is sent as the comment it is");
      }
    } else if (trimmed.rfind("^", 0) == 0 || trimmed.rfind("--^", 0) == 0) {
      AddDirective(number, "comment", text,
                   "not a directive (those begin the line with ^, --^C, --^R or --^E): sent as SQL text");
    }
  }

  static std::string ZeroByteMessage(LineKind kind) {
    switch (kind) {
      case LineKind::Copy:
      case LineKind::Execute:
        return "holds a zero byte: the system reads the directive's name or command only up to it";
      default:
        return "holds a zero byte: its batch is not sent and counts as failed";
    }
  }

  // A batch sent since the last line took every line gathered before it.
  void ForgetSentLines() {
    if (plan_.batches.size() == batchesSeen_) return;
    batchesSeen_ = plan_.batches.size();
    unsentFirst_ = unsentLast_ = 0;
  }

  void AddWarning(size_t line, const std::string& kind, const std::string& message) {
    plan_.warnings.push_back({line, kind, message});
  }

  void AddDirective(size_t line, const std::string& kind, const std::string& text, const std::string& note) {
    PlanDirective directive;
    directive.line = line;
    directive.kind = kind;
    directive.text = text;
    directive.note = note;
    plan_.directives.push_back(directive);
  }

  LineReader reader_;
  ScriptPlan& plan_;
  TEncryption cipher_;
  size_t batchesSeen_ = 0;
  size_t unsentFirst_ = 0;  // non-blank SQL lines gathered since the last batch end
  size_t unsentLast_ = 0;
};

std::string WithSeparator(const std::string& folder) {
  if (folder.empty() || folder.back() == '\\' || folder.back() == '/') return folder;
  return folder + "\\";
}

}  // namespace

ScriptPlan PlanScript(const std::string& script, LineReader::ReadPiece read, const PlanOptions& options) {
  ScriptPlan plan;
  plan.script = script;
  plan.encrypted = IsEncryptedScript(script, IsAnsiLeadByte);
  plan.server = options.server.empty() ? kComputerNameShown : options.server;
  plan.login = options.login.empty() ? "sa" : options.login;
  plan.module = options.module;

  // The program's folder is where the run looks for the files of its directives.
  ScriptSettings settings;
  std::string exePathShown;
  if (options.sourceDir.empty()) {
    settings.exePath = ExtractFilePath(script, IsAnsiLeadByte);
    plan.programFolder = kProgramFolderShown;
    exePathShown = plan.programFolder + "\\";
  } else {
    settings.exePath = WithSeparator(options.sourceDir);
    plan.programFolder = settings.exePath.substr(0, settings.exePath.size() - 1);
    exePathShown = settings.exePath;
  }
  settings.placeholders = {plan.programFolder, plan.server, plan.login, kPasswordShown};
  settings.encrypted = plan.encrypted;
  TEncryption cipher;
  cipher.SetKey(kScriptKey);
  settings.cipher = &cipher;

  PlanningHost host(plan, settings.exePath, exePathShown, options.fileExists ? options.fileExists : PlainFileExists);
  const RunnerTexts texts = PlanningHost::Texts();
  RunLog logLines, errorLines;
  ScriptRunner runner(host, texts, settings, logLines, errorLines);
  InspectedScript lines(std::move(read), plan);
  runner.Run(lines);
  lines.Finish();

  std::stable_sort(plan.warnings.begin(), plan.warnings.end(),
                   [](const PlanWarning& a, const PlanWarning& b) { return a.line < b.line; });
  std::stable_sort(plan.directives.begin(), plan.directives.end(),
                   [](const PlanDirective& a, const PlanDirective& b) { return a.line < b.line; });
  return plan;
}

bool PlanScriptFile(const std::string& script, const PlanOptions& options, ScriptPlan& plan, std::string& error) {
  FILE* file = std::fopen(script.c_str(), "rb");
  if (file == nullptr) {
    error = std::strerror(errno);
    return false;
  }
  int readError = 0;
  plan = PlanScript(script,
                    [file, &readError](char* buffer, size_t size) {
                      const size_t read = std::fread(buffer, 1, size, file);
                      if (read == 0 && std::ferror(file)) readError = errno != 0 ? errno : EIO;
                      return read;
                    },
                    options);
  std::fclose(file);
  if (readError != 0) {
    error = std::strerror(readError);
    return false;
  }
  return true;
}
