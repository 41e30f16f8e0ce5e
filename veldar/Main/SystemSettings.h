// What a run reads from and changes in the system outside its script: the server's
// program folder in the registry, the run list of the settings file, the computer's
// name and the program's own file name.
#pragma once

#include <windows.h>

#include <string>

// The registry as ReadServerPath reaches it; tests put their own in its place, as Wine
// need not keep the 32-bit and 64-bit views of a key apart.
struct RegistryAccess {
  LONG(WINAPI* openKey)(HKEY root, LPCSTR path, DWORD options, REGSAM access, PHKEY key);
  // KEY_WOW64_32KEY or KEY_WOW64_64KEY: the view of the other bitness, 0 where the
  // system has only one (32-bit Windows).
  REGSAM otherView;
};

// The running system's registry and the view other than the program's own.
RegistryAccess SystemRegistry();

// The "Path" value of HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\sqlservr.exe,
// from the program's own registry view or, when the key is missing there, the other
// one (a 32-bit server on 64-bit Windows registers in the 32-bit view, a 64-bit one in
// the 64-bit view). False when the key opens in neither; a key without the value gives
// empty text.
bool ReadServerPath(std::string& value, const RegistryAccess& registry = SystemRegistry());

// Deletes the module's key from the run list in QUORNAX.INI in the system folder.
void RemoveModuleFromRunList(const std::string& moduleName);

// The computer's name, or empty text when the system cannot give it.
std::string GetLocalComputerName();

// The system folder, or empty text when it cannot be read.
std::string SystemFolder();

// The Windows folder, or empty text when it cannot be read.
std::string WindowsFolder();

// The value of an environment variable; empty text when it is not set.
std::string EnvironmentValue(const char* name);

// Full path of the running program.
std::string ProgramFileName();
