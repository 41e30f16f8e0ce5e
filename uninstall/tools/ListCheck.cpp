#include "tools/ListCheck.h"

#include <algorithm>
#include <cstring>

#include "base/Components.h"
#include "base/TextHelpers.h"
#include "remove/InstallationList.h"
#include "toolsupport/JsonText.h"

namespace {

struct UsableLine {
  size_t line;
  std::string entry;
  bool deleted = false;
};

const char* SkipReason(ListLineCheck check) {
  switch (check) {
    case ListLineCheck::TooLong:
      return "line too long";
    case ListLineCheck::ZeroByte:
      return "zero byte";
    case ListLineCheck::OutsideFolder:
      return "leaves the folder";
    case ListLineCheck::PathTooLong:
      return "path too long";
    default:
      return "";
  }
}

const char* SkipDetail(ListLineCheck check) {
  switch (check) {
    case ListLineCheck::TooLong:
      return "longer than 2047 characters: not used, not even in part";
    case ListLineCheck::ZeroByte:
      return "the line holds a NUL byte: not used, not even in part";
    case ListLineCheck::OutsideFolder:
      return "rooted, with a drive, device or stream, or climbing above the folder with \"..\"";
    case ListLineCheck::PathTooLong:
      return "the folder and the entry do not fit 1024 characters";
    default:
      return "";
  }
}

class PassPlayer {
 public:
  PassPlayer(FolderSnapshot& snapshot, const std::string& folder, ListReport& report)
      : snapshot_(snapshot), folder_(folder), report_(report) {}

  // Reads every line with the uninstall's reader and checks it as the passes will.
  void ReadLines(FILE* list) {
    std::vector<char> line(kListLineSize);
    std::vector<char> path(kPathSize);
    ListLineCheck check;
    while (ReadListLine(list, line.data(), line.size(), &check)) {
      const size_t number = ++report_.lines;
      if (check == ListLineCheck::Usable) check = CheckListLine(line.data(), folder_.c_str(), path.data(), path.size());
      const bool readable = check != ListLineCheck::TooLong && check != ListLineCheck::ZeroByte;
      if (check == ListLineCheck::Usable) {
        usable_.push_back({number, line.data()});
      } else if (check != ListLineCheck::Empty) {
        report_.skips.push_back({number, readable ? line.data() : "", SkipReason(check), SkipDetail(check)});
      }
    }
  }

  // The uninstall's own passes, each deletion played on the snapshot. The passes visit
  // the usable lines in order, so the n-th visit of a pass is the n-th usable line.
  void PlayPasses(FILE* list) {
    size_t visit = 0;
    report_.passes = RunListPasses(
        list, folder_.c_str(),
        [&](const char* path) {
          UsableLine& line = usable_[visit % usable_.size()];
          const int pass = static_cast<int>(visit / usable_.size()) + 1;
          ++visit;
          const size_t node = snapshot_.Resolve(path + folder_.size());
          const bool folder = node != FolderSnapshot::kNone && snapshot_.IsFolder(node);
          if (!snapshot_.Remove(node)) return false;
          line.deleted = true;
          deletedBy_.push_back({node, line.line});
          report_.deletes.push_back({line.line, line.entry, folder, pass, ""});
          return true;
        },
        kPathSize);
  }

  // Why each usable line that deleted nothing did not.
  void ExplainLeftovers() {
    for (const UsableLine& line : usable_) {
      if (line.deleted) continue;
      const size_t node = snapshot_.Resolve(line.entry.c_str(), true);
      if (node == FolderSnapshot::kRoot) {
        Skip(line, "the program's folder", "the batch file removes it at the end, if it is empty");
      } else if (node == FolderSnapshot::kNone) {
        Skip(line, "does not exist", "");
      } else if (const char* when = OutsideThePasses(node)) {
        // The help index files go before the passes, the others after them.
        const bool before = std::find(helpIndexes_.begin(), helpIndexes_.end(), node) != helpIndexes_.end();
        report_.deletes.insert(before ? report_.deletes.begin() + beforeCount_++ : report_.deletes.end(),
                               {line.line, line.entry, false, 0, when});
      } else if (!snapshot_.IsPresent(node)) {
        Skip(line, "already deleted", "by line " + std::to_string(DeletedBy(node)));
      } else if (snapshot_.IsFolder(node)) {
        const size_t inside = snapshot_.FirstPresentInside(node);
        Skip(line, "folder not empty", "it still holds " + ShownText(snapshot_.PathOf(inside)));
      }
    }
    std::stable_sort(report_.skips.begin(), report_.skips.end(),
                     [](const ListSkip& a, const ListSkip& b) { return a.line < b.line; });
    for (size_t node : snapshot_.Present())
      if (!OutsideThePasses(node)) report_.remaining.push_back(snapshot_.PathOf(node));
  }

  // Files the uninstall deletes before or after the passes, not through them.
  void SetAsideFiles() {
    program_ = snapshot_.Resolve(kUninstallProgram);
    list_ = snapshot_.Resolve(components::kInstallationList);
    if (program_ != FolderSnapshot::kNone) snapshot_.Keep(program_);
    if (list_ != FolderSnapshot::kNone) snapshot_.Keep(list_);
    for (const char* index : {components::kHelpIndex, components::kHelpFullTextIndex}) {
      const size_t node = snapshot_.Resolve(index);
      if (node != FolderSnapshot::kNone && !snapshot_.IsFolder(node)) {
        helpIndexes_.push_back(node);
        snapshot_.Remove(node);
      }
    }
  }

 private:
  const char* OutsideThePasses(size_t node) const {
    if (node == program_) return "the running program: the batch file deletes it at the end";
    if (node == list_) return "the list itself: open during the passes, deleted after them";
    if (std::find(helpIndexes_.begin(), helpIndexes_.end(), node) != helpIndexes_.end())
      return "a help index file: deleted before the passes";
    return nullptr;
  }

  size_t DeletedBy(size_t node) const {
    for (const auto& deleted : deletedBy_)
      if (deleted.first == node) return deleted.second;
    return 0;
  }

  void Skip(const UsableLine& line, const std::string& reason, const std::string& detail) {
    report_.skips.push_back({line.line, line.entry, reason, detail});
  }

  FolderSnapshot& snapshot_;
  const std::string folder_;
  ListReport& report_;
  std::vector<UsableLine> usable_;
  std::vector<std::pair<size_t, size_t>> deletedBy_;  // node, line
  size_t program_ = FolderSnapshot::kNone;
  size_t list_ = FolderSnapshot::kNone;
  std::vector<size_t> helpIndexes_;
  size_t beforeCount_ = 0;
};

}  // namespace

ListReport CheckInstallationList(FILE* list, const std::string& folder, FolderSnapshot& snapshot) {
  ListReport report;
  PassPlayer player(snapshot, folder, report);
  player.ReadLines(list);
  player.SetAsideFiles();
  rewind(list);
  player.PlayPasses(list);
  player.ExplainLeftovers();
  return report;
}
