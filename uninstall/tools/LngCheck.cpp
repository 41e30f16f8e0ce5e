#include "tools/LngCheck.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/Handle.h"
#include "toolsupport/JsonText.h"
#include "toolsupport/ToolUsage.h"
#include "tools/OwnResources.h"
#include "tools/ResourceReader.h"

namespace {

const char kUsage[] =
    "usage: lngcheck FILE [--dll LIBRARY] [--json]\n"
    "Reads the language file FILE (uninstall.lng) as the Zendra uninstall would and\n"
    "prints where its section marker stands (and whether the program finds it), every\n"
    "entry with its key and the text a lookup gives, the entries a lookup never gives as\n"
    "written (on the marker's line, keys of other lengths or in capitals, duplicate\n"
    "keys, lines found in their place, missing quotes, backslashes that are no escape,\n"
    "keys of no text of the program) and the program's texts that get no translation:\n"
    "its messages 5101-5113 and the texts of its dialogs SETUPDLG, DONEDLG and\n"
    "CONTEXTITEMS, in the code page 936.\n"
    "  --dll   take the dialogs from this language library (kzplng.dll), as the program\n"
    "          does when it is there; the messages stay the program's own\n"
    "  --json  one JSON object in UTF-8 with marker_offset, entries, unreachable and\n"
    "          untranslated\n"
    "Exit codes: 0 nothing found, 1 findings, 2 a file cannot be read or bad usage.\n";

// Language files are small; the program reads no more than 196 KiB of one.
constexpr size_t kMaxFileSize = 64 * 1024 * 1024;

const ToolUsage kLngcheck("lngcheck", kUsage, kLngcheckUnreadable);

bool ReadWholeFile(const std::string& name, std::string& bytes, std::string& error) {
  FileStream file(std::fopen(name.c_str(), "rb"));
  if (!file) {
    error = std::strerror(errno);
    return false;
  }
  char buffer[65536];
  size_t read;
  while (bytes.size() < kMaxFileSize && (read = std::fread(buffer, 1, sizeof buffer, file.Get())) > 0)
    bytes.append(buffer, read);
  if (std::ferror(file.Get())) {
    error = std::strerror(errno);
    return false;
  }
  return true;
}

std::string Line(size_t line) {
  return "line " + std::to_string(line);
}

}  // namespace

std::string LanguageReportText(const std::string& file, const LanguageReport& report) {
  std::string text = "language file " + ShownText(file) + ": ";
  if (report.markerOffset >= 0) {
    text += "section marker on " + Line(report.markerLine) + ", offset " + std::to_string(report.markerOffset) +
            " (found: the program searches up to offset 130816)\n";
  } else {
    text += "the program finds no section marker\n";
  }
  for (const std::string& problem : report.problems) text += "problem: " + problem + "\n";
  if (!report.entries.empty()) text += "entries:\n";
  for (const LanguageEntry& entry : report.entries)
    text += "  " + Line(entry.line) + ": " + entry.key + " " + ShownText(entry.text) + " for " +
            (entry.usedBy.empty() ? "no text of the program" : entry.usedBy) + "\n";
  if (!report.unreachable.empty()) text += "never found as written:\n";
  for (const LanguageFinding& finding : report.unreachable) text += "  " + Line(finding.line) + ": " + finding.reason + "\n";
  if (!report.untranslated.empty()) text += "untranslated:\n";
  for (const ProgramText& untranslated : report.untranslated)
    text += "  " + untranslated.source + " (key " + untranslated.key + "): " + ShownText(untranslated.text) + "\n";
  return text + std::to_string(report.entries.size()) + " entries, " + std::to_string(report.unreachable.size()) +
         " never found as written, " + std::to_string(report.untranslated.size()) + " texts untranslated\n";
}

std::string LanguageReportJson(const std::string& file, const LanguageReport& report) {
  const bool found = report.markerOffset >= 0;
  JsonObject json;
  json.Text("file", file).NumberOrNull("marker_offset", found, static_cast<size_t>(report.markerOffset));
  json.NumberOrNull("marker_line", found, report.markerLine).NewLine().Texts("problems", report.problems);
  json.NewLine().Objects("entries", report.entries, [](JsonObject& object, const LanguageEntry& entry) {
    object.Number("line", entry.line).Text("key", entry.key).Text("text", entry.text);
    object.TextOrNull("used_by", entry.usedBy);
  });
  json.NewLine().Objects("unreachable", report.unreachable, [](JsonObject& object, const LanguageFinding& finding) {
    object.Number("line", finding.line).Text("reason", finding.reason);
  });
  json.NewLine().Objects("untranslated", report.untranslated, [](JsonObject& object, const ProgramText& text) {
    object.Text("source", text.source).Text("key", text.key).Text("text", text.text);
  });
  return json.Close() + "\n";
}

int RunLngcheck(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  std::string file, library;
  bool json = false;
  const std::vector<ToolSwitch> switches = {{"--json", &json, nullptr, nullptr},
                                            {"--dll", nullptr, &library, "a library"}};
  int code;
  if (!ReadToolArguments(kLngcheck, arguments, switches, "language file", file, out, err, code)) return code;

  std::vector<Resource> own, dll;
  ReadResourceFile(std::string(reinterpret_cast<const char*>(kOwnResources), kOwnResourcesSize), own);
  std::string bytes, error;
  if (!library.empty()) {
    std::string image;
    if (!ReadWholeFile(library, image, error)) {
      err << "lngcheck: cannot read " << library << ": " << error << "\n";
      return kLngcheckUnreadable;
    }
    if (!ReadImageResources(image, dll)) {
      err << "lngcheck: " << library << " is no library with resources\n";
      return kLngcheckUnreadable;
    }
  }
  if (!ReadWholeFile(file, bytes, error)) {
    err << "lngcheck: cannot read " << file << ": " << error << "\n";
    return kLngcheckUnreadable;
  }
  const ProgramTexts texts = CollectProgramTexts(own, library.empty() ? nullptr : &dll);
  LanguageReport report = CheckLanguageFile(bytes, texts);
  report.problems.insert(report.problems.begin(), texts.problems.begin(), texts.problems.end());
  out << (json ? LanguageReportJson(file, report) : LanguageReportText(file, report));
  const bool findings = !report.problems.empty() || !report.unreachable.empty() || !report.untranslated.empty();
  return findings ? kLngcheckFindings : kLngcheckClean;
}
