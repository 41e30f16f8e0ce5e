// The names of the archiver's files that lie outside this program. The archiver's
// installer places them, with this program, in one installation folder.
#pragma once

namespace components {

// The archiver program; opens the archive named by its one quoted argument.
inline constexpr char kArchiver[] = "Zendra.exe";
// The shell extension library serving the Explorer handlers.
inline constexpr char kShellExtension[] = "kzpext.dll";
// The optional resource-only language library, next to this program.
inline constexpr char kLanguageLibrary[] = "kzplng.dll";
// The optional language text file, next to this program.
inline constexpr char kLanguageFile[] = "uninstall.lng";
// The help file and the index files that the help viewer makes beside it.
inline constexpr char kHelpFile[] = "zendra.hlp";
inline constexpr char kHelpShortcutTarget[] = "Zendra.hlp";
inline constexpr char kHelpIndex[] = "zendra.gid";
inline constexpr char kHelpFullTextIndex[] = "zendra.fts";
// Plain documents.
inline constexpr char kConsoleManual[] = "Kzp.txt";
inline constexpr char kLicense[] = "license.txt";
inline constexpr char kPriceList[] = "order.txt";
// The installation list: one installed file or folder per line.
inline constexpr char kInstallationList[] = "Uninstall.lst";

// Help topics of the setup dialogs.
inline constexpr int kSetupHelpTopic = 268;
inline constexpr int kContextItemsHelpTopic = 310;

}  // namespace components
