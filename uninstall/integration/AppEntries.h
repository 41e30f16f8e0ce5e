// The archiver's entries in the system's lists: App Paths, so that the archiver starts
// by its name, and the list of installed programs.
#pragma once

inline constexpr char kAppPathsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Zendra.exe";
inline constexpr char kUninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zendra archiver";

// HKLM App Paths entry: the archiver's path and the current directory as its Path.
void SetAppPath();

// HKLM Uninstall entry: the display name and this program, which uninstalls when
// started without a switch.
void WriteUninstallEntry();
