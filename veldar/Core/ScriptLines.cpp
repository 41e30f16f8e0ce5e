#include "Core/ScriptLines.h"

namespace {

bool StartsWith(const std::string& text, const char* prefix) {
  return text.rfind(prefix, 0) == 0;
}

char UpperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualsNoCaseAt(const std::string& text, size_t at, const std::string& word) {
  if (text.size() - at < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (UpperAscii(text[at + i]) != UpperAscii(word[i])) return false;
  }
  return true;
}

// Every occurrence of word (ASCII, any case) replaced by value, scanning left to right
// and never inside an inserted value. A multi-byte character cannot hide a match:
// the placeholders start with "%", which is never the second byte of a character.
std::string ReplaceNoCase(const std::string& text, const std::string& word, const std::string& value) {
  std::string result;
  size_t i = 0;
  while (i < text.size()) {
    if (EqualsNoCaseAt(text, i, word)) {
      result += value;
      i += word.size();
    } else {
      result += text[i++];
    }
  }
  return result;
}

}  // namespace

std::string TrimBlanks(const std::string& text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
  return text.substr(first, last - first);
}

bool IsBatchEnd(const std::string& line) {
  // Looked at for every line of a script: no copies.
  size_t first = 0;
  size_t last = line.size();
  while (first < last && static_cast<unsigned char>(line[first]) <= ' ') ++first;
  while (last > first && static_cast<unsigned char>(line[last - 1]) <= ' ') --last;
  return last - first == 2 && UpperAscii(line[first]) == 'G' && UpperAscii(line[first + 1]) == 'O';
}

LineKind ClassifyLine(const std::string& line) {
  if (StartsWith(line, "^") || StartsWith(line, "--^C")) return LineKind::Copy;
  if (StartsWith(line, "--^R")) return LineKind::Restore;
  if (StartsWith(line, "--^E")) return LineKind::Execute;
  if (IsBatchEnd(line)) return LineKind::BatchEnd;
  return LineKind::Sql;
}

std::string CopyDirectiveFile(const std::string& line) {
  if (StartsWith(line, "^")) return line.substr(1);
  return line.size() > 4 ? line.substr(4) : std::string();
}

RestoreDirective ParseRestoreDirective(const std::string& line) {
  const std::string rest = line.size() > 4 ? line.substr(4) : std::string();
  const size_t comma = rest.find(',');
  if (comma == std::string::npos) return {std::string(), rest};
  return {rest.substr(0, comma), rest.substr(comma + 1)};
}

std::string RestoreStatement(const RestoreDirective& restore, const std::string& dataFolder) {
  const std::string& name = restore.database;
  return "RESTORE DATABASE " + name + " FROM DISK = 'C:\\" + restore.file + "'" + " WITH MOVE '" + name +
         "_dat' TO '" + dataFolder + name + ".mdf'," + " MOVE '" + name + "_log' TO '" + dataFolder + name +
         ".ldf'";
}

std::string ExecuteDirectiveCommand(const std::string& line) {
  return TrimBlanks(line.size() > 4 ? line.substr(4) : std::string());
}

std::string FillPlaceholders(const std::string& command, const PlaceholderValues& values) {
  std::string result = ReplaceNoCase(command, "%SourceDir%", values.sourceDir);
  result = ReplaceNoCase(result, "%ServerName%", values.serverName);
  result = ReplaceNoCase(result, "%UserName%", values.userName);
  return ReplaceNoCase(result, "%Password%", values.password);
}

std::string ServerProgramFolder(const std::string& pathValue, LeadByteTest isLead) {
  for (size_t i = 0; i < pathValue.size(); i = NextCharAt(pathValue, i, isLead)) {
    if (pathValue.compare(i, 4, "BINN") == 0) return pathValue;
  }
  return pathValue + "\\BINN";
}

std::string DataFolder(const std::string& programFolder, LeadByteTest isLead) {
  std::vector<size_t> starts;  // where each character begins
  for (size_t i = 0; i < programFolder.size(); i = NextCharAt(programFolder, i, isLead)) starts.push_back(i);
  const size_t keep = starts.size() > 4 ? starts[starts.size() - 4] : 0;
  return programFolder.substr(0, keep) + "Data\\";
}

std::string TrimTrailingChar(const std::string& text, char c) {
  const size_t end = text.find_last_not_of(c);
  return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}
