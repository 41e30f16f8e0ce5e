// Whole files read and replaced as bytes, through the C library's streams.
#pragma once

#include <string>

// The file's bytes; false when it cannot be opened or read to its end.
bool ReadWholeFile(const char* path, std::string* bytes);

// Replaces the file at `path` (creating it when missing) with `bytes`; false when it
// cannot be created or written whole.
bool WriteWholeFile(const char* path, const std::string& bytes);
