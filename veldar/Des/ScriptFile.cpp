#include "Des/ScriptFile.h"

#include <algorithm>
#include <new>

#include "Base/LineReader.h"

std::vector<std::string> SplitLines(std::string_view text) {
  // The breaks are those of the run, which reads scripts through the same reader.
  std::size_t offset = 0;
  LineReader reader(
      [&](char* buffer, std::size_t room) {
        const std::size_t part = text.copy(buffer, room, offset);
        offset += part;
        return part;
      },
      std::clamp<std::size_t>(text.size(), 1, 64 * 1024));
  std::vector<std::string> lines;
  for (std::string line; reader.Next(line);) lines.push_back(line);
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

bool ReadLines(const std::string& file, std::vector<std::string>& lines, FileFailure& failure) {
  std::string text;
  if (!ReadWholeFile(file, text, failure)) return false;
  lines = SplitLines(text);
  return true;
}

bool EncryptScriptFile(TEncryption& cipher, const std::string& plainFile, const std::string& encryptedFile,
                       std::size_t& written, FileFailure& failure) {
  try {
    std::vector<std::string> lines;
    if (!ReadLines(plainFile, lines, failure)) return false;
    cipher.SetAction(TActionType::Encryption);
    for (std::string& line : lines) {
      if (line.empty()) continue;
      cipher.SetInput(std::move(line));
      cipher.Execute();
      line = cipher.HexOutput();
    }
    if (!ReplaceFileContents(encryptedFile, JoinLines(lines), failure)) return false;
    written = lines.size();
    return true;
  } catch (const std::bad_alloc&) {
    // A script too large for memory: nothing was written.
    failure = {FileFailure::Kind::Read, plainFile, 0, "not enough memory"};
    return false;
  }
}
