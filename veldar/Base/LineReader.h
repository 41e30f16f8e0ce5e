// The lines of a text that arrives in pieces, such as a script read from its file a
// block at a time. Lines break at CR LF, at a lone CR and at a lone LF; a CR at the end
// of one piece pairs with an LF at the start of the next. A break at the very end starts
// no new line. SplitLines (Des/ScriptFile.h) is this reader over a whole text.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class LineReader {
 public:
  // Reads up to `size` bytes into `buffer`; 0 at the end of the text.
  using ReadPiece = std::function<size_t(char* buffer, size_t size)>;

  explicit LineReader(ReadPiece read, size_t pieceSize = 64 * 1024);

  // The next line without its break; false after the last line.
  bool Next(std::string& line);

 private:
  bool Fill();

  ReadPiece read_;
  std::vector<char> buffer_;
  size_t begin_ = 0;
  size_t end_ = 0;
  bool pendingCr_ = false;  // the last piece ended in a CR: an LF starting the next belongs to it
};
