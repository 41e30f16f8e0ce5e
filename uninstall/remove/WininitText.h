// The text of WININIT.INI, through which Windows 95, 98 and ME delete files at the next
// restart: before the system loads its drivers, each line "NUL=<path>" of the section
// [rename] deletes the file of that short (8.3) path, in the order of the lines. The
// profile functions cannot write the section (all its lines have the same key "NUL"),
// so its text is edited here.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

inline constexpr char kWininitFileName[] = "WININIT.INI";
// The program that carries the file out at the restart is a real-mode one, and the
// profile functions of those systems read no further than 32 KB either safely: the
// file stays below that.
constexpr size_t kWininitSizeLimit = 32767;

// Adds a line "NUL=<path>" for each of `paths`, in their order, after the last line of
// the first section [rename] of `text` (letter case ignored), or in a new section at
// the end; every other byte of the text stays as it was. A path that would take the
// text beyond kWininitSizeLimit is left out with all that follow it. Returns the number
// of paths added.
size_t AddDeletionLines(std::string* text, const std::vector<std::string>& paths);
