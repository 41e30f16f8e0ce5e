// A language file held in memory, read like File (Read, Seek from the start, Tell).
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>

class MemorySource {
 public:
  explicit MemorySource(std::string data) : data_(std::move(data)) {}
  int Read(void* buffer, int count) {
    if (position_ >= data_.size()) return 0;
    size_t n = std::min(static_cast<size_t>(count), data_.size() - position_);
    memcpy(buffer, data_.data() + position_, n);
    position_ += n;
    return static_cast<int>(n);
  }
  void Seek(int64_t offset, int) { position_ = static_cast<size_t>(offset); }
  int64_t Tell() const { return static_cast<int64_t>(position_); }

 private:
  std::string data_;
  size_t position_ = 0;
};
