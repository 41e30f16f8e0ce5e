#include "Core/RunLog.h"

#include <algorithm>

namespace {

const char kLineEnd[] = "\r\n";

}  // namespace

void RunLog::Add(const std::string& line) {
  Append(line.data(), line.size());
  Append(kLineEnd, 2);
  ++lineCount_;
}

void RunLog::Add(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) Add(line);
}

void RunLog::Clear() {
  blocks_.clear();
  lineCount_ = 0;
}

std::string_view RunLog::Piece(size_t offset) const {
  const std::string& block = blocks_[offset / kBlockSize];
  return std::string_view(block).substr(offset % kBlockSize);
}

std::vector<std::string> RunLog::Lines() const {
  std::string text;
  for (const std::string& block : blocks_) text += block;
  // No line holds a line break: the output is made of lines split at every break.
  std::vector<std::string> lines;
  for (size_t start = 0; start < text.size();) {
    const size_t end = text.find(kLineEnd, start);
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

void RunLog::Append(const char* data, size_t size) {
  while (size > 0) {
    if (blocks_.empty() || blocks_.back().size() == kBlockSize) {
      blocks_.emplace_back();
      blocks_.back().reserve(kBlockSize);
    }
    std::string& block = blocks_.back();
    const size_t part = std::min(size, kBlockSize - block.size());
    block.append(data, part);
    data += part;
    size -= part;
  }
}
