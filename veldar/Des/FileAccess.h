// Whole-file reading and safe replacing of a file, with the system's own reason text on
// failure (in the system's language and code page), so that a caller can show it.
#pragma once

#include <string>

struct FileFailure {
  std::string file;    // the name the caller gave
  std::string reason;  // the system's text for the error
};

// Reads the whole file into `data`.
bool ReadWholeFile(const std::string& file, std::string& data, FileFailure& failure);

// Writes `data` to a new file in the same folder as `file` and renames it over `file`
// only once it is complete, so a failure never leaves a half-written `file` and keeps
// an existing one as it was. `file` may be a file that was just read.
bool ReplaceFileContents(const std::string& file, const std::string& data, FileFailure& failure);
