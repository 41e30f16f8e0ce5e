// The self-removal batch file. The uninstalling process cannot delete its own program
// file, so it leaves that to a batch file in the temporary folder: the batch waits
// (a second instance of the program with "/wait") until the process has ended, tries
// five times to delete the program file and its folder, shows the final notice
// ("/warning") when the file stayed, and deletes itself.
#pragma once

#include <cstddef>
#include <string>

#include "base/CodePageText.h"

// The batch's name in the folder made for it (SelfRemovalBatch.h).
inline constexpr char kBatchFileName[] = "Uninstall_Kzp.Bat";
// Each line group of the batch is made in a buffer of this size.
constexpr size_t kBatchPieceSize = 1024;
// How often the batch tries to delete the program file and remove its folder.
constexpr int kBatchDeleteTries = 5;

// The paths a batch names, in the ANSI code page.
struct BatchPaths {
  const char* program;  // the program file
  const char* folder;   // its folder, as the current directory gives it
  const char* batch;    // the batch file itself
  // The folder made for the batch, which it removes after itself; empty when it has none.
  const char* batchFolder;
};

// Copies `text` with every "%" doubled, so that the command interpreter reads it
// literally in a batch file. False when the result does not fit `capacity` characters.
bool DoublePercentSigns(const char* text, char* result, size_t capacity);

// The batch text. On the NT family the first line starts the program directly,
// elsewhere through "start /wait". Lines end with CR LF; the last one, which deletes the
// batch (and its folder: on the same line, as the interpreter reads the file while it
// runs), has no line end. The paths are written in the OEM code page, in which the
// interpreter reads them. False when a path has no exact OEM form or holds a character
// that the interpreter would read as a wildcard or a quote, or when a path with its "%"
// doubled, or a line group, does not fit its buffer: a batch that named another path
// could delete something else.
bool ComposeBatchFile(const BatchPaths& paths, bool ntFamily, const OemConversion& oem, std::string* text);
