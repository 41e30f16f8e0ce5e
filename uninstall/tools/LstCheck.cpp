#include "tools/LstCheck.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/Components.h"
#include "base/Handle.h"
#include "toolsupport/JsonText.h"
#include "toolsupport/ToolUsage.h"

namespace {

const char kUsage[] =
    "usage: lstcheck FOLDER [--json]\n"
    "Reads FOLDER\\Uninstall.lst as the Zendra uninstall would and plays its deletion\n"
    "passes through on the contents of FOLDER without deleting anything: prints what\n"
    "each pass deletes (a folder only once nothing is left in it), what the uninstall\n"
    "deletes apart from the passes, every line it skips with the reason (leaves the\n"
    "folder, line or path too long, zero byte, does not exist, folder not empty), and\n"
    "what stays in the folder. Entries are relative to FOLDER; backslashes and slashes\n"
    "both separate their parts, letters compare in any case.\n"
    "  --json  one JSON object in UTF-8 with deletes, skips and remaining\n"
    "Exit codes: 0 no line skipped, 1 lines skipped, 2 the list cannot be read or bad usage.\n";

const ToolUsage kLstcheck("lstcheck", kUsage, kLstcheckUnreadable);

std::string Kind(const ListDelete& deleted) {
  return deleted.folder ? "folder" : "file";
}

}  // namespace

std::string ListReportText(const std::string& list, const ListReport& report) {
  std::string text = "list " + ShownText(list) + ": " + std::to_string(report.lines) + " lines, " +
                     std::to_string(report.passes) + " deletion passes\n";
  const std::string end = "pass " + std::to_string(report.passes) + " deletes nothing: the passes end\n";
  std::string heading;
  bool passesSeen = false;
  for (const ListDelete& deleted : report.deletes) {
    const std::string stage = deleted.pass > 0 ? "pass " + std::to_string(deleted.pass)
                              : passesSeen     ? "after the passes"
                                               : "before the passes";
    if (stage == "after the passes" && heading != stage) text += end;
    passesSeen = passesSeen || deleted.pass > 0;
    if (stage != heading) text += stage + ":\n";
    heading = stage;
    text += "  line " + std::to_string(deleted.line) + ": ";
    text += deleted.pass > 0 ? Kind(deleted) + " " + ShownText(deleted.entry)
                             : ShownText(deleted.entry) + ", " + deleted.when;
    text += "\n";
  }
  if (heading != "after the passes") text += end;
  if (!report.skips.empty()) text += "skipped:\n";
  for (const ListSkip& skip : report.skips) {
    text += "  line " + std::to_string(skip.line) + ": " + (skip.entry.empty() ? "" : ShownText(skip.entry) + ": ") +
            skip.reason + (skip.detail.empty() ? "" : " (" + skip.detail + ")") + "\n";
  }
  if (report.remaining.empty()) {
    text += "nothing else stays: the batch file removes the folder at the end\n";
  } else {
    text += "stays in the folder, and with it the folder:";
    for (const std::string& path : report.remaining) text += " " + ShownText(path);
    text += "\n";
  }
  return text + std::to_string(report.deletes.size()) + " deleted, " + std::to_string(report.skips.size()) +
         " lines skipped\n";
}

std::string ListReportJson(const std::string& list, const ListReport& report) {
  JsonObject json;
  json.Text("list", list).Number("lines", report.lines).Number("passes", report.passes).NewLine();
  json.Objects("deletes", report.deletes, [](JsonObject& object, const ListDelete& deleted) {
    object.Number("line", deleted.line).Text("entry", deleted.entry).Text("kind", Kind(deleted));
    object.NumberOrNull("pass", deleted.pass != 0, deleted.pass).TextIfAny("when", deleted.when);
  });
  json.NewLine().Objects("skips", report.skips, [](JsonObject& object, const ListSkip& skip) {
    object.Number("line", skip.line).Text("reason", skip.reason).Text("entry", skip.entry);
    object.Text("detail", skip.detail);
  });
  return json.NewLine().Texts("remaining", report.remaining).Close() + "\n";
}

int RunLstcheck(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  std::string folder;
  bool json = false;
  int code;
  if (!ReadToolArguments(kLstcheck, arguments, {{"--json", &json, nullptr, nullptr}}, "folder", folder, out, err, code))
    return code;
  // The folder as the uninstall's paths begin: with one separator at its end.
  const bool separated = folder.back() == '/' || folder.back() == '\\';
  const std::string prefix = separated ? folder : folder + "\\";
  if (separated && folder.size() > 1 && folder[folder.size() - 2] != ':') folder.pop_back();

  // Both systems take the slash.
  const std::string list = prefix.substr(0, prefix.size() - 1) + "/" + components::kInstallationList;
  FileStream file(std::fopen(list.c_str(), "rb"));
  if (!file) {
    err << "lstcheck: cannot read " << list << ": " << std::strerror(errno) << "\n";
    return kLstcheckUnreadable;
  }
  FolderSnapshot snapshot;
  std::string error;
  if (!ScanFolder(folder, snapshot, error)) {
    err << "lstcheck: cannot read the folder " << folder << ": " << error << "\n";
    return kLstcheckUnreadable;
  }
  const ListReport report = CheckInstallationList(file.Get(), prefix, snapshot);
  out << (json ? ListReportJson(list, report) : ListReportText(list, report));
  return report.skips.empty() ? kLstcheckClean : kLstcheckSkips;
}
