#include "Base/LineReader.h"

#include <algorithm>

LineReader::LineReader(ReadPiece read, size_t pieceSize) : read_(std::move(read)), buffer_(pieceSize) {}

bool LineReader::Next(std::string& line) {
  line.clear();
  for (;;) {
    // At the end of the text, a last line without a break counts unless it is empty.
    if (begin_ == end_ && !Fill()) return !line.empty();
    const char* const start = buffer_.data() + begin_;
    const char* const stop = buffer_.data() + end_;
    if (pendingCr_) {
      pendingCr_ = false;
      if (*start == '\n') {
        ++begin_;
        continue;
      }
    }
    const char* const lineBreak = std::find_if(start, stop, [](char c) { return c == '\r' || c == '\n'; });
    line.append(start, lineBreak);
    begin_ += static_cast<size_t>(lineBreak - start);
    if (lineBreak == stop) continue;
    ++begin_;
    if (*lineBreak == '\r') {
      if (begin_ == end_)
        pendingCr_ = true;
      else if (buffer_[begin_] == '\n')
        ++begin_;
    }
    return true;
  }
}

bool LineReader::Fill() {
  begin_ = 0;
  end_ = read_(buffer_.data(), buffer_.size());
  return end_ > 0;
}
