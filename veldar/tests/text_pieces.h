// A text handed to a line reader piece by piece, as a script file is read.
#pragma once

#include <cstddef>
#include <string_view>

#include "Base/LineReader.h"

// The pieces of `text`, which must outlive the reader.
inline LineReader::ReadPiece PiecesOf(std::string_view text) {
  return [text, offset = std::size_t{0}](char* buffer, std::size_t size) mutable {
    const std::size_t part = text.copy(buffer, size, offset);
    offset += part;
    return part;
  };
}
