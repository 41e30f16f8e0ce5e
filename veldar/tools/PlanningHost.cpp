#include "tools/PlanningHost.h"

#include "Core/ScriptLines.h"
#include "Des/ScriptFile.h"
#include "toolsupport/JsonText.h"

namespace {

// The server's folder as the registry would give it. Unlike any script text, it begins
// with two control bytes, so the folders made from it are found again in the texts
// that the loop hands out.
const std::string kServerValue = std::string("\x01\x02") + "\\BINN";
const std::string kServerDataFolder = std::string("\x01\x02") + "\\Data\\";
// The loop's own texts hold a line break, which no line of a script can hold: a script
// line in the output is never taken for one of them.
const char kZeroByteMark[] = "\nzero byte";

std::string ReplaceAll(std::string text, const std::string& what, const std::string& with) {
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
    text.replace(at, what.size(), with);
  return text;
}

// The folders made from the registry's value, under their plan names.
std::string ShowServerFolders(const std::string& text) {
  const std::string shown = ReplaceAll(text, kServerDataFolder, std::string(kServerDataFolderShown) + "\\");
  return ReplaceAll(shown, kServerValue, kServerProgramFolderShown);
}

std::string FirstNonBlank(const std::vector<std::string>& lines) {
  for (const std::string& line : lines)
    if (!TrimBlanks(line).empty()) return line;
  return std::string();
}

}  // namespace

PlanningHost::PlanningHost(ScriptPlan& plan, std::string exePath, std::string exePathShown,
                           std::function<bool(const std::string&)> fileExists)
    : plan_(plan),
      exePath_(std::move(exePath)),
      exePathShown_(std::move(exePathShown)),
      fileExists_(std::move(fileExists)) {}

RunnerTexts PlanningHost::Texts() {
  return {"\nscript", "\nseparator", "\nresult", "\nsucceeded", "\nprogram failed", kZeroByteMark};
}

void PlanningHost::AddOutputLine(const std::string& line) {
  if (line == kZeroByteMark) {
    AddBatch(std::string(), "it holds a zero byte");
    inUnsentBatch_ = true;
  } else if (inUnsentBatch_) {
    // The text that would have gone, up to the zero byte.
    PlanBatch& unsent = plan_.batches.back();
    ++unsent.lineCount;
    if (unsent.firstText.empty() && !TrimBlanks(line).empty()) unsent.firstText = ShowServerFolders(line);
  } else if (awaitingStatement_) {
    plan_.directives.back().text = ShowServerFolders(line);
    awaitingStatement_ = false;
  }
  output_.push_back(line);
}

void PlanningHost::ClearOutput() {
  output_.clear();
  inUnsentBatch_ = false;
}

void PlanningHost::SetProgress(size_t position, size_t) {
  line_ = position + 1;
}

int PlanningHost::ExecuteBatch(const std::string& batch) {
  const PlanBatch& added = AddBatch(batch);
  if (TrimBlanks(batch).empty()) {
    const std::string from = added.firstLine == added.lastLine ? "" : " from line " + std::to_string(added.firstLine);
    Warn("empty-batch", "the batch" + from + " holds no statement; it is sent all the same");
  }
  return 0;
}

bool PlanningHost::ReadServerPath(std::string& value) {
  value = kServerValue;
  return true;
}

bool PlanningHost::FileExists(const std::string& name) {
  // Asked only by a copy directive, for the file it copies.
  PlanDirective copy;
  copy.line = line_;
  copy.kind = "copy";
  copy.source = Shown(name);
  const bool exists = fileExists_(name);
  if (!exists) {
    copy.note = "the file is not in the program folder: the run copies nothing";
    Warn("missing-file", ShownText(copy.source) + " is not in the program folder: the copy directive does nothing");
  }
  plan_.directives.push_back(copy);
  return exists;
}

bool PlanningHost::CopyInstallFile(const std::string&, const std::string& destination, bool) {
  plan_.directives.back().destination = ShowServerFolders(destination);
  return true;
}

bool PlanningHost::CopyBackup(const std::string& source, const std::string& destination,
                              std::vector<std::string>&) {
  PlanDirective restore;
  restore.line = line_;
  restore.kind = "restore";
  restore.source = Shown(source);
  restore.destination = destination;
  restore.note = "the statement is sent at once with the lines gathered before it; the copy is deleted after";
  const bool exists = fileExists_(source);
  if (!exists) {
    restore.note = "the backup is not in the program folder: the copy fails, and its batch fails unsent";
    Warn("missing-file", ShownText(restore.source) + " is not in the program folder: the restore fails");
  }
  plan_.directives.push_back(restore);
  awaitingStatement_ = true;
  return exists;
}

void PlanningHost::RemoveBackup(const std::string&) {}

void PlanningHost::RestoreBatchNotSent(const std::string& batch) {
  AddBatch(batch, "its restore's backup is not in the program folder");
}

bool PlanningHost::RunProgramAndWait(const std::string& commandLine, const std::string&) {
  PlanDirective execute;
  execute.line = line_;
  execute.kind = "execute";
  execute.text = commandLine;
  plan_.directives.push_back(execute);
  return true;
}

const PlanBatch& PlanningHost::AddBatch(const std::string& text, const std::string& notSentBecause) {
  PlanBatch batch;
  batch.firstLine = plan_.batches.empty() ? 1 : plan_.batches.back().lastLine + 1;
  batch.lastLine = line_;
  batch.sent = notSentBecause.empty();
  batch.notSentBecause = notSentBecause;
  const std::vector<std::string> lines = SplitLines(text);
  batch.lineCount = lines.size();
  batch.firstText = ShowServerFolders(FirstNonBlank(lines));
  plan_.batches.push_back(batch);
  return plan_.batches.back();
}

std::string PlanningHost::Shown(const std::string& path) const {
  if (path.compare(0, exePath_.size(), exePath_) != 0) return path;
  return exePathShown_ + path.substr(exePath_.size());
}

void PlanningHost::Warn(const std::string& kind, const std::string& message) {
  plan_.warnings.push_back({line_, kind, message});
}
