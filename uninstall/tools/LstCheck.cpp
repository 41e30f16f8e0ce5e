#include "tools/LstCheck.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/Components.h"
#include "base/Handle.h"
#include "tools/JsonText.h"

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

int BadUsage(std::ostream& err, const std::string& problem) {
  err << "lstcheck: " << problem << "\n" << kUsage;
  return kLstcheckUnreadable;
}

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
  std::string json = "{" + JsonField("list", list) + ", \"lines\": " + std::to_string(report.lines) +
                     ", \"passes\": " + std::to_string(report.passes) + ",\n \"deletes\": [";
  for (size_t i = 0; i < report.deletes.size(); ++i) {
    const ListDelete& deleted = report.deletes[i];
    json += std::string(i ? "," : "") + "\n  {\"line\": " + std::to_string(deleted.line) + ", " +
            JsonField("entry", deleted.entry) + ", " + JsonField("kind", Kind(deleted)) +
            ", \"pass\": " + (deleted.pass ? std::to_string(deleted.pass) : "null");
    if (!deleted.when.empty()) json += ", " + JsonField("when", deleted.when);
    json += "}";
  }
  json += "],\n \"skips\": [";
  for (size_t i = 0; i < report.skips.size(); ++i) {
    const ListSkip& skip = report.skips[i];
    json += std::string(i ? "," : "") + "\n  {\"line\": " + std::to_string(skip.line) + ", " +
            JsonField("reason", skip.reason) + ", " + JsonField("entry", skip.entry) + ", " +
            JsonField("detail", skip.detail) + "}";
  }
  return json + "],\n " + JsonFieldList("remaining", report.remaining) + "}\n";
}

int RunLstcheck(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  std::string folder;
  bool json = false;
  for (const std::string& argument : arguments) {
    if (argument == "-h" || argument == "--help" || argument == "-?" || argument == "/?") {
      out << kUsage;
      return kLstcheckClean;
    }
    if (argument == "--json") {
      json = true;
    } else if (argument.size() > 1 && argument[0] == '-') {
      return BadUsage(err, "unknown option " + argument);
    } else if (!folder.empty()) {
      return BadUsage(err, "more than one folder");
    } else {
      folder = argument;
    }
  }
  if (folder.empty()) return BadUsage(err, "no folder given");
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
