// What a run reads from and changes in the system outside its script: the server's
// program folder in the registry, the run list of the settings file, the computer's
// name and the program's own file name.
#pragma once

#include <string>

// The "Path" value of HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\sqlservr.exe.
// False when the key does not open; a key without the value gives empty text.
bool ReadServerPath(std::string& value);

// Deletes the module's key from the run list in QUORNAX.INI in the system folder.
void RemoveModuleFromRunList(const std::string& moduleName);

// The computer's name, or empty text when the system cannot give it.
std::string GetLocalComputerName();

// The system folder, or empty text when it cannot be read.
std::string SystemFolder();

// Full path of the running program.
std::string ProgramFileName();
