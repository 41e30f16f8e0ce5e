#include "tools/LngCheck.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/Handle.h"
#include "tools/JsonText.h"
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

int BadUsage(std::ostream& err, const std::string& problem) {
  err << "lngcheck: " << problem << "\n" << kUsage;
  return kLngcheckUnreadable;
}

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
  std::string json = "{" + JsonField("file", file) +
                     ", \"marker_offset\": " + (found ? std::to_string(report.markerOffset) : "null") +
                     ", \"marker_line\": " + (found ? std::to_string(report.markerLine) : "null") + ",\n " +
                     JsonFieldList("problems", report.problems) + ",\n \"entries\": [";
  for (size_t i = 0; i < report.entries.size(); ++i) {
    const LanguageEntry& entry = report.entries[i];
    json += std::string(i ? "," : "") + "\n  {\"line\": " + std::to_string(entry.line) + ", " +
            JsonField("key", entry.key) + ", " + JsonField("text", entry.text) + ", " +
            (entry.usedBy.empty() ? "\"used_by\": null" : JsonField("used_by", entry.usedBy)) + "}";
  }
  json += "],\n \"unreachable\": [";
  for (size_t i = 0; i < report.unreachable.size(); ++i) {
    json += std::string(i ? "," : "") + "\n  {\"line\": " + std::to_string(report.unreachable[i].line) + ", " +
            JsonField("reason", report.unreachable[i].reason) + "}";
  }
  json += "],\n \"untranslated\": [";
  for (size_t i = 0; i < report.untranslated.size(); ++i) {
    const ProgramText& text = report.untranslated[i];
    json += std::string(i ? "," : "") + "\n  {" + JsonField("source", text.source) + ", " +
            JsonField("key", text.key) + ", " + JsonField("text", text.text) + "}";
  }
  return json + "]}\n";
}

int RunLngcheck(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  std::string file, library;
  bool json = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "-h" || argument == "--help" || argument == "-?" || argument == "/?") {
      out << kUsage;
      return kLngcheckClean;
    }
    if (argument == "--json") {
      json = true;
    } else if (argument == "--dll") {
      if (i + 1 == arguments.size()) return BadUsage(err, "--dll needs a library");
      library = arguments[++i];
    } else if (argument.size() > 1 && argument[0] == '-') {
      return BadUsage(err, "unknown option " + argument);
    } else if (!file.empty()) {
      return BadUsage(err, "more than one language file");
    } else {
      file = argument;
    }
  }
  if (file.empty()) return BadUsage(err, "no language file given");

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
