// Programs the installer starts: those of execute directives, which it waits for,
// and the system's text editor for the log files, which it does not.
#pragma once

#include <functional>
#include <string>

// Starts the command line (with the parameters after one space, if any) and waits
// until the program has ended, calling processMessages whenever window messages
// arrive. Waits on the process itself: no polling, whatever the exit code. The
// program's file is found by Core/ProgramSearch.h: a bare name in the installer's
// folder, the system folders or the absolute entries of PATH, never in the current
// folder. True if the program could be started; its exit code is not judged.
bool RunProgramAndWait(const std::string& commandLine, const std::string& parameters,
                       const std::function<void()>& processMessages);

// Opens the file in Notepad from the system folder, without waiting.
bool StartNotepad(const std::string& file);
