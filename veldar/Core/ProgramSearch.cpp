#include "Core/ProgramSearch.h"

#include <vector>

namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

// The PATH entries that name a folder without reference to the current drive or folder:
// relative entries, "." and drive-relative ones ("C:tools") would bring the current
// folder back in.
std::vector<std::string> AbsolutePathEntries(const std::string& path, LeadByteTest isLead) {
  std::vector<std::string> entries;
  size_t start = 0;
  for (size_t i = 0;;) {
    if (i < path.size() && path[i] != ';') {
      i = NextCharAt(path, i, isLead);
      continue;
    }
    const std::string entry = path.substr(start, i - start);
    if (IsAbsolutePath(entry)) entries.push_back(entry);
    if (i == path.size()) break;
    start = ++i;
  }
  return entries;
}

}  // namespace

std::string CommandProgramName(const std::string& commandLine) {
  if (!commandLine.empty() && commandLine[0] == '"') {
    const size_t close = commandLine.find('"', 1);
    return commandLine.substr(1, close == std::string::npos ? std::string::npos : close - 1);
  }
  return commandLine.substr(0, commandLine.find_first_of(" \t"));
}

std::string PathInFolder(const std::string& folder, const std::string& name, LeadByteTest isLead) {
  if (folder.empty() || ExtractFileName(folder, isLead).empty()) return folder + name;
  return folder + "\\" + name;
}

bool IsAbsolutePath(const std::string& path) {
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) return true;
  const char drive = path.empty() ? '\0' : path[0];
  const bool letter = (drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z');
  return letter && path.size() >= 3 && path[1] == ':' && IsSeparator(path[2]);
}

std::string FindProgram(const std::string& commandLine, const ProgramFolders& folders,
                        const std::function<bool(const std::string&)>& isFile, LeadByteTest isLead) {
  std::string name = CommandProgramName(commandLine);
  if (name.empty()) return std::string();
  if (ExtractFileExt(name, isLead).empty()) name += ".exe";
  if (!ExtractFilePath(name, isLead).empty()) return name;
  std::vector<std::string> searched = {folders.program, folders.system, folders.system16, folders.windows};
  for (const std::string& entry : AbsolutePathEntries(folders.path, isLead)) searched.push_back(entry);
  for (const std::string& folder : searched) {
    if (!IsAbsolutePath(folder)) continue;
    const std::string candidate = PathInFolder(folder, name, isLead);
    if (isFile(candidate)) return candidate;
  }
  return std::string();
}
