// Script files as lists of lines, and the conversion of a plain script into its
// encrypted form: one upper-case hexadecimal line per non-empty plain line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Base/FileAccess.h"
#include "Des/Encryption.h"

// The installer's script key; the window gives it to its cipher component at creation.
constexpr const char* kScriptKey = "meadows";

// Splits text into lines at CR LF, at a lone CR and at a lone LF. The bytes are kept
// as they are. A line break at the very end ends the last line and starts no new one,
// so "a\r\n" is one line and an empty text no line at all.
std::vector<std::string> SplitLines(std::string_view text);

// The lines with CR LF after each one, the last one included.
std::string JoinLines(const std::vector<std::string>& lines);

// Reads a whole file and splits it into lines.
bool ReadLines(const std::string& file, std::vector<std::string>& lines, FileFailure& failure);

// Enciphers every non-empty line of `plainFile` with `cipher` and its present key, and
// writes the lines to `encryptedFile` with CR LF after each; empty lines stay empty.
// The two may be the same file. Leaves Action at Encryption. The output file is
// replaced only once it is complete. `written`: the lines written; `failure`: the plain
// file that could not be read, or the encrypted one that could not be written.
bool EncryptScriptFile(TEncryption& cipher, const std::string& plainFile, const std::string& encryptedFile,
                       std::size_t& written, FileFailure& failure);
