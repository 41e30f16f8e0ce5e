// The run log and the error log of a run. The lines are kept as the text their file
// gets (each line followed by CR LF) in blocks of a fixed size: a long run holds
// little more than the bytes of its files, and what it has gathered is never copied
// again, neither while it grows nor when it is written.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class RunLog {
 public:
  // Every block but the last holds exactly this many bytes.
  static constexpr size_t kBlockSize = 64 * 1024;

  void Add(const std::string& line);
  void Add(const std::vector<std::string>& lines);
  void Clear();
  bool Empty() const { return lineCount_ == 0; }
  size_t LineCount() const { return lineCount_; }
  // Bytes of the file's text so far.
  size_t Size() const {
    return blocks_.empty() ? 0 : (blocks_.size() - 1) * kBlockSize + blocks_.back().size();
  }
  // The bytes from `offset` (below Size) to the end of the block that holds it.
  std::string_view Piece(size_t offset) const;

  // The file's bytes are these blocks one after another.
  const std::vector<std::string>& Blocks() const { return blocks_; }
  // The lines again, as they were added.
  std::vector<std::string> Lines() const;

 private:
  void Append(const char* data, size_t size);

  std::vector<std::string> blocks_;
  size_t lineCount_ = 0;
};
