// What the lines of an installation script mean: batch ends, the copy, restore and
// execute directives, and the texts built from them. Byte strings in the system's
// ANSI code page; nothing here touches a file or the system.
#pragma once

#include <string>
#include <vector>

#include "Core/FileNames.h"

enum class LineKind {
  Sql,       // appended to the batch (also every empty line)
  Copy,      // "^name" or "--^Cname": copy a file into the server's program folder
  Restore,   // "--^Rdatabase,file": restore a database from a backup file
  Execute,   // "--^Ecommand": run a program and wait for it
  BatchEnd,  // "GO", in any case, blanks around it allowed
};

LineKind ClassifyLine(const std::string& line);

// Removes leading and trailing blanks and control characters (every byte up to
// and including the space).
std::string TrimBlanks(const std::string& text);

bool IsBatchEnd(const std::string& line);

// The file name of a copy directive: the line without "^" or "--^C", as written.
std::string CopyDirectiveFile(const std::string& line);

struct RestoreDirective {
  std::string database;  // text before the first comma; empty without a comma
  std::string file;      // text after it, or the whole rest without a comma
};
RestoreDirective ParseRestoreDirective(const std::string& line);

// The restore statement for a backup copied to "C:\<file>", placing the database's
// files in dataFolder (which ends with a backslash).
std::string RestoreStatement(const RestoreDirective& restore, const std::string& dataFolder);

// The command line of an execute directive, trimmed, placeholders not yet filled in.
std::string ExecuteDirectiveCommand(const std::string& line);

struct PlaceholderValues {
  std::string sourceDir;  // the program's folder without a trailing backslash
  std::string serverName;
  std::string userName;
  std::string password;
};
// Replaces "%SourceDir%", "%ServerName%", "%UserName%" and "%Password%" (in this
// order, every occurrence, regardless of case).
std::string FillPlaceholders(const std::string& command, const PlaceholderValues& values);

// The server's program folder from the registry's "Path" value: "\BINN" appended
// unless the value holds "BINN" in capitals (starting at a character, not at the
// second byte of one).
std::string ServerProgramFolder(const std::string& pathValue, LeadByteTest isLead = IsAnsiLeadByte);
// The data folder beside the program folder: its last four characters (double-byte
// ones whole) replaced by "Data\".
std::string DataFolder(const std::string& programFolder, LeadByteTest isLead = IsAnsiLeadByte);

// The text without every trailing occurrence of c (deciphered lines end in zero bytes
// that filled their last block).
std::string TrimTrailingChar(const std::string& text, char c);

// The encryption marker of encrypted scripts, a whole line compared exactly, and the
// clause it becomes there.
constexpr const char* kEncryptionMarker = "--LANTHORN--";
constexpr const char* kEncryptionClause = "with Encryption";
