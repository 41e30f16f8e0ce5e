// A text handed to a line reader piece by piece, as a script file is read.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "Base/LineReader.h"

// The pieces of `text`, which must outlive the reader.
inline LineReader::ReadPiece PiecesOf(std::string_view text) {
  return [text, offset = std::size_t{0}](char* buffer, std::size_t size) mutable {
    const std::size_t part = text.copy(buffer, size, offset);
    offset += part;
    return part;
  };
}

// Every line of `text`, read in pieces of `pieceSize` bytes.
inline std::vector<std::string> ReadLinesInPieces(std::string_view text, std::size_t pieceSize) {
  LineReader reader(PiecesOf(text), pieceSize);
  std::vector<std::string> lines;
  for (std::string line; reader.Next(line);) lines.push_back(line);
  return lines;
}
