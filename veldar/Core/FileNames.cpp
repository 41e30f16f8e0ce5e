#include "Core/FileNames.h"

#include <utility>

namespace {

// Position just after the last folder separator, and of the last dot after it.
struct NameParts {
  size_t nameStart = 0;
  size_t dot = std::string::npos;
};

NameParts FindNameParts(const std::string& path, LeadByteTest isLead) {
  NameParts parts;
  for (size_t i = 0, next; i < path.size(); i = next) {
    next = NextCharAt(path, i, isLead);
    if (next - i > 1) continue;
    const char c = path[i];
    if (c == '\\' || c == '/' || c == ':') {
      parts.nameStart = next;
      parts.dot = std::string::npos;
    } else if (c == '.') {
      parts.dot = i;
    }
  }
  return parts;
}

char UpperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

bool IsGbkLeadByte(unsigned char byte) {
  return byte >= 0x81 && byte <= 0xFE;
}

size_t NextCharAt(const std::string& text, size_t at, LeadByteTest isLead) {
  return at + (isLead(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1);
}

std::string ExtractFilePath(const std::string& path, LeadByteTest isLead) {
  return path.substr(0, FindNameParts(path, isLead).nameStart);
}

std::string ExtractFileName(const std::string& path, LeadByteTest isLead) {
  return path.substr(FindNameParts(path, isLead).nameStart);
}

std::string ExtractFileExt(const std::string& path, LeadByteTest isLead) {
  const NameParts parts = FindNameParts(path, isLead);
  return parts.dot == std::string::npos ? std::string() : path.substr(parts.dot);
}

std::string ChangeFileExt(const std::string& path, const std::string& ext, LeadByteTest isLead) {
  const NameParts parts = FindNameParts(path, isLead);
  return (parts.dot == std::string::npos ? path : path.substr(0, parts.dot)) + ext;
}

std::string ResolveScriptFile(const std::string& fileSwitch, const std::string& exePath,
                              const std::string& exeName, LeadByteTest isLead) {
  if (fileSwitch.empty()) return ChangeFileExt(exeName, ".SQE", isLead);
  if (!ExtractFilePath(fileSwitch, isLead).empty()) return fileSwitch;
  return exePath + fileSwitch;
}

std::string OutputFileName(const std::string& script, const std::string& ext, LeadByteTest isLead) {
  return "C:\\" + ChangeFileExt(ExtractFileName(script, isLead), ext, isLead);
}

bool IsEncryptedScript(const std::string& script, LeadByteTest isLead) {
  std::string ext = ExtractFileExt(script, isLead);
  for (char& c : ext) c = UpperAscii(c);
  return ext == ".SQE";
}

bool FoldersBelowRoot(const std::string& name, LeadByteTest isLead, std::vector<std::string>& folders) {
  folders.clear();
  std::vector<std::string> found;
  const auto separator = [](char c) { return c == '\\' || c == '/'; };
  const char drive = name.empty() ? '\0' : UpperAscii(name[0]);
  if (name.size() < 4 || drive < 'A' || drive > 'Z' || name[1] != ':' || !separator(name[2])) return false;
  bool plain = false;  // the part holds more than dots and blanks
  for (size_t i = 3; i <= name.size();) {
    const bool end = i == name.size();
    const size_t next = end ? i + 1 : NextCharAt(name, i, isLead);
    const bool single = next - i == 1;
    if (end || (single && separator(name[i]))) {
      if (!plain) return false;
      if (!end) found.push_back(name.substr(0, i));
      plain = false;
    } else if (single && name[i] == ':') {
      return false;
    } else if (!single || (name[i] != '.' && name[i] != ' ')) {
      plain = true;
    }
    i = next;
  }
  folders = std::move(found);
  return true;
}
