// The self-removal batch file. The uninstalling process cannot delete its own program
// file, so it leaves that to a batch file in the temporary folder: the batch waits
// (a second instance of the program with "/wait") until the process has ended, tries
// five times to delete the program file and its folder, shows the final notice
// ("/warning") when the file stayed, and deletes itself.
#pragma once

#include <cstddef>
#include <string>

inline constexpr char kBatchFileName[] = "Uninstall_Kzp.Bat";
// Each line group of the batch is made in a buffer of this size.
constexpr size_t kBatchPieceSize = 1024;
// How often the batch tries to delete the program file and remove its folder.
constexpr int kBatchDeleteTries = 5;

// Copies `text` with every "%" doubled, so that the command interpreter reads it
// literally in a batch file. False when the result does not fit `capacity` characters.
bool DoublePercentSigns(const char* text, char* result, size_t capacity);

// The batch text for the program file `program`, its folder `folder` (as the current
// directory gives it) and the batch file's own path `batch`. On the NT family the
// first line starts the program directly, elsewhere through "start /wait". Lines end
// with CR LF, the last one has no line end. False when a path with its "%" doubled, or
// a line group, does not fit its buffer: a batch that named a cut path could delete
// something else.
bool ComposeBatchFile(const char* program, const char* folder, const char* batch, bool ntFamily,
                      std::string* text);
