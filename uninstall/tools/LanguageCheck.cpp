#include "tools/LanguageCheck.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "language/LanguageResources.h"
#include "toolsupport/JsonText.h"

namespace {

using LR = LanguageResources;

constexpr char kMarker[] = "***messages**";
constexpr size_t kMarkerLength = sizeof kMarker - 1;
constexpr char kSeparator = '\f';

// The file in memory, read like the program's File.
class MemorySource {
 public:
  explicit MemorySource(const std::string& bytes) : bytes_(bytes) {}
  int Read(void* buffer, int count) {
    const size_t n = position_ < bytes_.size() ? std::min(static_cast<size_t>(count), bytes_.size() - position_) : 0;
    memcpy(buffer, bytes_.data() + position_, n);
    position_ += n;
    return static_cast<int>(n);
  }
  void Seek(int64_t offset, int) { position_ = static_cast<size_t>(offset); }
  int64_t Tell() const { return static_cast<int64_t>(position_); }

 private:
  const std::string& bytes_;
  size_t position_ = 0;
};

bool IsHex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool IsLowerHex(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// The section as the program converts it, with where each character came from.
struct Section {
  std::string text;
  std::vector<size_t> rawOffset;  // in the file
  std::vector<bool> escaped;      // the character came from an escape
  size_t end = 0;                 // the file offset where the conversion stopped
  bool zeroByte = false;          // it stopped at a NUL
};

Section Convert(const std::string& bytes, size_t marker) {
  Section section;
  const size_t length = std::min(bytes.size() - marker, static_cast<size_t>(LR::kSectionSize));
  size_t read = 0;
  while (read < length) {
    char c;
    const int step = LR::ConvertStep(bytes.data() + marker + read, static_cast<int>(length - read), &c);
    if (step == 0) {
      section.zeroByte = true;
      break;
    }
    section.text += c;
    section.rawOffset.push_back(marker + read);
    section.escaped.push_back(step == 2);
    read += static_cast<size_t>(step);
  }
  section.end = marker + read;
  return section;
}

class Checker {
 public:
  Checker(const std::string& bytes, const ProgramTexts& texts, LanguageReport& report)
      : bytes_(bytes), texts_(texts), report_(report) {
    lineStarts_.push_back(0);
    for (size_t i = 0; i < bytes.size(); ++i) {
      const bool crlf = bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n';
      if (bytes[i] == '\n' || (bytes[i] == '\r' && !crlf)) lineStarts_.push_back(i + 1);
    }
  }

  void Run() {
    MemorySource source(bytes_);
    LR::MarkerSearch search;
    report_.markerOffset = LR::FindSectionMarker(source, &search);
    if (report_.markerOffset < 0) {
      ReportMissingMarker(search);
      for (const ProgramText& text : texts_.texts)
        if (!text.optional) report_.untranslated.push_back(text);
      return;
    }
    const size_t marker = static_cast<size_t>(report_.markerOffset);
    report_.markerLine = LineAt(marker);
    source.Seek(0, 0);
    if (!resources_.LoadFrom(source)) {
      report_.problems.push_back("the section could not be held in memory");
      return;
    }
    section_ = Convert(bytes_, marker);
    if (section_.zeroByte) {
      report_.problems.push_back("a zero byte on line " + std::to_string(LineAt(section_.end)) +
                                 " ends the section: the program sees nothing after it");
    } else if (section_.end < bytes_.size()) {
      report_.problems.push_back("the program reads " + std::to_string(LR::kSectionSize) +
                                 " bytes from the marker on: the section is cut on line " +
                                 std::to_string(LineAt(section_.end)) + ", nothing after it is seen");
    }
    FindEntries();
    IndexLines();
    for (const LanguageEntry& entry : report_.entries) CheckEntry(entry);
    CheckProgramTexts();
    std::stable_sort(report_.unreachable.begin(), report_.unreachable.end(),
                     [](const LanguageFinding& a, const LanguageFinding& b) { return a.line < b.line; });
  }

 private:
  size_t LineAt(size_t offset) const {
    return static_cast<size_t>(std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset) - lineStarts_.begin());
  }
  size_t LineOf(size_t sectionOffset) const {
    return LineAt(sectionOffset < section_.rawOffset.size() ? section_.rawOffset[sectionOffset] : section_.end);
  }
  std::string LineText(size_t start) const {
    const size_t end = section_.text.find(kSeparator, start);
    return section_.text.substr(start, end == std::string::npos ? std::string::npos : end - start);
  }

  // Why the search missed a marker that the file holds, from how far the search went.
  void ReportMissingMarker(const LR::MarkerSearch& search) {
    const size_t later = bytes_.find(kMarker);
    std::string problem = "no section marker \"***messages**\"";
    if (later != std::string::npos) {
      problem = "the section marker on line " + std::to_string(LineAt(later)) + " starts at offset " +
                std::to_string(later);
      if (search.lastTested < 0) {
        problem += ", but the file has fewer than " + std::to_string(LR::kMarkerOverlap) +
                   " bytes, too few for the program to search";
      } else if (search.reachedEnd) {
        problem += ", less than " + std::to_string(LR::kMarkerOverlap) + " bytes before the end of the file: " +
                   "the program tests an offset only with that many bytes after it (here up to offset " +
                   std::to_string(search.lastTested) + ")";
      } else {
        problem += ", after the last offset the program searches (" + std::to_string(search.lastTested) + ")";
      }
    }
    report_.problems.push_back(problem + ": the program ignores the file");
  }

  void Unreachable(size_t line, const std::string& reason) { report_.unreachable.push_back({line, reason}); }

  // Every line of the section; those that begin like an entry are entries or findings.
  void FindEntries() {
    const std::string& text = section_.text;
    for (size_t start = 0; start < text.size(); start = text.find(kSeparator, start)) {
      while (start < text.size() && text[start] == kSeparator) ++start;
      if (start >= text.size()) break;
      const std::string line = LineText(start);
      if (start == 0) {
        CheckMarkerLine(line);
      } else {
        CheckLine(start, line);
      }
      start += line.size();
    }
  }

  void CheckMarkerLine(const std::string& line) {
    for (size_t at = kMarkerLength; at + LR::kKeyLength + 2 <= line.size(); ++at) {
      const std::string key = line.substr(at, LR::kKeyLength);
      if (std::all_of(key.begin(), key.end(), IsHex) && line.compare(at + LR::kKeyLength, 2, "=\"") == 0) {
        Unreachable(report_.markerLine, "an entry on the marker's line, which is never read as an entry");
        return;
      }
    }
  }

  void CheckLine(size_t start, const std::string& line) {
    const size_t blanks = line.find_first_not_of(" \t");
    if (blanks == std::string::npos) return;
    size_t digits = 0;
    while (blanks + digits < line.size() && IsHex(line[blanks + digits])) ++digits;
    if (digits == 0 || blanks + digits >= line.size() || line[blanks + digits] != '=') return;
    const size_t number = LineOf(start);
    const std::string key = line.substr(blanks, digits);
    if (blanks > 0) {
      Unreachable(number, "blanks before the key: a key begins the line");
    } else if (digits != static_cast<size_t>(LR::kKeyLength)) {
      Unreachable(number, "a key of " + std::to_string(digits) +
                              " digits: keys have 8, and lookups compare the first 8 characters of a line only");
    } else if (!IsLowerHex(key)) {
      Unreachable(number, "a key with capital letters: keys are written in small letters and never match");
    } else if (line.compare(LR::kKeyLength, 2, "=\"") != 0) {
      Unreachable(number, "no double quote after \"=\": the lookup takes the text from the character after \"=\"");
    } else {
      char text[LR::kDialogTextSize];
      resources_.CopyEntry(static_cast<int>(start), text, sizeof text);
      report_.entries.push_back({number, key, text, UsedBy(key)});
      starts_[number] = start;
    }
  }

  std::string UsedBy(const std::string& key) const {
    std::string used;
    for (const ProgramText& text : texts_.texts)
      if (text.key == key) used += (used.empty() ? "" : ", ") + text.source;
    return used;
  }

  // The lines of the program's index by their first 8 characters, which is all a lookup compares.
  void IndexLines() {
    for (int i = 0; i < resources_.lineIndex.count; ++i) {
      const int start = resources_.lineIndex[i];
      indexed_[std::string(resources_.text + start, strnlen(resources_.text + start, LR::kKeyLength))].push_back(
          static_cast<size_t>(start));
    }
  }

  void CheckEntry(const LanguageEntry& entry) {
    const size_t start = starts_.at(entry.line);
    std::string entries, others;
    for (size_t other : indexed_[entry.key]) {
      if (other == start) continue;
      const size_t line = LineOf(other);
      (starts_.count(line) != 0 ? entries : others) += " " + std::to_string(line);
    }
    const int found = resources_.FindEntry(entry.key.c_str());
    if (!entries.empty()) {
      Unreachable(entry.line, "the key is also on line" + entries + ": which one a lookup finds is not defined");
    } else if (!others.empty()) {
      Unreachable(entry.line, "a lookup of its key finds line" + others +
                                  " as well, which begins with the same 8 characters: which one is not defined");
    } else if (found != static_cast<int>(start)) {
      Unreachable(entry.line, "a lookup of its key finds nothing");
    }
    CheckQuotesAndEscapes(entry.line, start);
    if (entry.usedBy.empty()) Unreachable(entry.line, "no text of the program has this key");
  }

  void CheckQuotesAndEscapes(size_t line, size_t start) {
    const size_t open = start + LR::kKeyLength + 1;
    const size_t end = start + LineText(start).size();
    size_t lastQuote = std::string::npos;
    for (size_t i = open + 1; i < end; ++i)
      if (section_.text[i] == '"') lastQuote = i;
    if (lastQuote == std::string::npos) {
      Unreachable(line, "no closing double quote: the text runs to the end of the line");
    } else if (section_.escaped[lastQuote]) {
      Unreachable(line, "no closing double quote: the text is cut at the last escaped one (\\\")");
    }
    for (size_t i = open; i < end; ++i) {
      if (section_.text[i] != '\\' || section_.escaped[i]) continue;
      const size_t raw = section_.rawOffset[i] + 1;
      const std::string next = raw < bytes_.size() ? bytes_.substr(raw, 1) : std::string();
      Unreachable(line, ShownText("\\" + (next == "\r" || next == "\n" ? std::string() : next)) +
                            " is no escape (\\n, \\r, \\t, \\\", \\\\ are): the backslash stays as it is");
      break;
    }
  }

  // A program text whose lookup lands on a line that is no entry gets that line as its translation.
  void CheckProgramTexts() {
    for (const ProgramText& text : texts_.texts) {
      const int found = resources_.FindEntry(text.key.c_str());
      if (found < 0) {
        if (!text.optional) report_.untranslated.push_back(text);
        continue;
      }
      const size_t line = LineOf(static_cast<size_t>(found));
      if (starts_.count(line) == 0 || starts_.at(line) != static_cast<size_t>(found))
        Unreachable(line, "begins with the key of " + text.source + " and is taken as its translation, though it is no entry");
    }
  }

  const std::string& bytes_;
  const ProgramTexts& texts_;
  LanguageReport& report_;
  std::vector<size_t> lineStarts_;
  LanguageResources resources_;
  Section section_;
  std::map<size_t, size_t> starts_;  // line number of each entry -> its offset in the section
  std::map<std::string, std::vector<size_t>> indexed_;
};

}  // namespace

LanguageReport CheckLanguageFile(const std::string& bytes, const ProgramTexts& texts) {
  LanguageReport report;
  Checker(bytes, texts, report).Run();
  return report;
}
