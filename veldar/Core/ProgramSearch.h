// Where the program of an execute directive comes from. The system's own search for a
// bare program name looks in the current folder, which for an installer started from a
// download folder is a folder that others can write to; this search never looks there.
// Names are ANSI byte strings, scanned whole character by whole character.
#pragma once

#include <functional>
#include <string>

#include "Core/FileNames.h"

// The folders a bare program name is looked for in, in this order.
struct ProgramFolders {
  std::string program;   // the installer's own folder
  std::string system;    // the system folder
  std::string system16;  // the 16-bit system folder (Windows\System)
  std::string windows;   // the Windows folder
  std::string path;      // the PATH variable: only its absolute entries count
};

// The program name of a command line as the system reads it: up to the closing quote
// when the line begins with one, else up to the first blank.
std::string CommandProgramName(const std::string& commandLine);

// The name in the folder, with one separator between them.
std::string PathInFolder(const std::string& folder, const std::string& name, LeadByteTest isLead);

// True for "X:\..." and "\\server\...": a name that depends on no current drive or folder.
bool IsAbsolutePath(const std::string& path);

// The file to start for the command line: a program name with a folder part as given, a
// bare name in the first of `folders` where `isFile` finds it; ".exe" is appended to a
// name without an extension. Empty when a bare name is nowhere (or there is no name).
std::string FindProgram(const std::string& commandLine, const ProgramFolders& folders,
                        const std::function<bool(const std::string&)>& isFile, LeadByteTest isLead);
