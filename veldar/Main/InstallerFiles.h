// The files a run reads and writes: the script, the log and error files, and the
// copies made by directives. Failures come back with the system's error code.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The system's description of an error code, without the trailing line break.
std::string SystemErrorText(DWORD code);

bool ReadTextFile(const std::string& name, std::string& text, DWORD& error);
// Writes every line followed by CR LF, replacing an existing file.
bool WriteLines(const std::string& name, const std::vector<std::string>& lines, DWORD& error);

bool FileExists(const std::string& name);

// Copies over a destination even if it is marked read-only; both copies end up with
// only the archive attribute.
bool CopyInstallFile(const std::string& source, const std::string& destination, bool failIfExists);
