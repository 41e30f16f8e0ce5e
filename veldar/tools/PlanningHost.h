// The host of a planned run: it answers the line loop the way an installing machine
// with the server in place would, and records each batch, copy, restore and program
// instead of carrying it out. Folders that only the installing machine knows come out
// under the names of ScriptPlan.h.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Core/ScriptRunner.h"
#include "tools/ScriptPlan.h"

class PlanningHost : public RunnerHost {
 public:
  // `exePath` is the folder the run's files are looked for in (with its separator),
  // `exePathShown` the same folder as the plan names it.
  PlanningHost(ScriptPlan& plan, std::string exePath, std::string exePathShown,
               std::function<bool(const std::string&)> fileExists);

  // The live output texts of the loop; the zero-byte text marks a batch that fails unsent.
  static RunnerTexts Texts();

  void AddOutputLine(const std::string& line) override;
  void ClearOutput() override;
  const std::vector<std::string>& OutputLines() const override { return output_; }
  void SetProgress(size_t position, size_t count) override;
  int ExecuteBatch(const std::string& batch) override;
  bool CancelRequested() const override { return false; }
  bool ReadServerPath(std::string& value) override;
  bool FileExists(const std::string& name) override;
  bool CopyInstallFile(const std::string& source, const std::string& destination, bool failIfExists) override;
  bool CopyBackup(const std::string& source, const std::string& destination,
                  std::vector<std::string>& failure) override;
  void RemoveBackup(const std::string& name) override;
  void RestoreBatchNotSent(const std::string& batch) override;
  bool RunProgramAndWait(const std::string& commandLine, const std::string& parameters) override;

 private:
  // `notSentBecause` empty: the batch is sent.
  const PlanBatch& AddBatch(const std::string& text, const std::string& notSentBecause = std::string());
  std::string Shown(const std::string& path) const;
  void Warn(const std::string& kind, const std::string& message);

  ScriptPlan& plan_;
  const std::string exePath_;
  const std::string exePathShown_;
  const std::function<bool(const std::string&)> fileExists_;
  std::vector<std::string> output_;
  size_t line_ = 0;
  bool awaitingStatement_ = false;  // a restore's statement is the next output line
  bool inUnsentBatch_ = false;  // the lines of a zero-byte batch follow in the output
};
