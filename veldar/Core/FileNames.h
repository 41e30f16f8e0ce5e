// File names of the run: the script chosen from the command line, and the log and
// error files named after it. Names are ANSI byte strings; in a double-byte code
// page the second byte of a character may equal "\" or ".", so every scan steps
// over whole characters with the code page's lead-byte test.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

using LeadByteTest = bool (*)(unsigned char byte);

// Lead bytes of the Simplified Chinese code page 936; for tests and as a reference.
bool IsGbkLeadByte(unsigned char byte);
// Lead bytes of the system's ANSI code page. Off Windows, where there is none, those of
// the C library's multibyte locale: bytes that begin a character of more than one byte.
bool IsAnsiLeadByte(unsigned char byte);

// Position of the character after the one at `at`: a lead byte takes the next byte
// with it, unless it is the last byte of the text.
size_t NextCharAt(const std::string& text, size_t at, LeadByteTest isLead);

// Folder part with its trailing separator ("\", "/" or the ":" of a drive).
std::string ExtractFilePath(const std::string& path, LeadByteTest isLead);
std::string ExtractFileName(const std::string& path, LeadByteTest isLead);
// The extension of the file name part, with its dot; empty when there is none.
std::string ExtractFileExt(const std::string& path, LeadByteTest isLead);
// Replaces the extension of the file name part, or appends ext when there is none.
std::string ChangeFileExt(const std::string& path, const std::string& ext, LeadByteTest isLead);

// The script of a run: the file switch's value as given when it holds a folder part,
// else that name in the program's folder; without a file switch the program's own
// name with the extension ".SQE".
std::string ResolveScriptFile(const std::string& fileSwitch, const std::string& exePath,
                              const std::string& exeName, LeadByteTest isLead);

// "C:\" + the script's file name with its extension changed to ext (".LOG", ".ERR").
std::string OutputFileName(const std::string& script, const std::string& ext, LeadByteTest isLead);

// The folders that an absolute name "X:\..." leads through below its root, in order
// ("C:\a\b\x.bak": "C:\a", "C:\a\b"). False for another kind of name, or when a part
// is empty, made only of dots and blanks ("." and ".." among them) or holds ":" (a
// drive or a stream): such a name could end somewhere else than it reads. `folders` is
// left empty then.
bool FoldersBelowRoot(const std::string& name, LeadByteTest isLead, std::vector<std::string>& folders);

// Scripts with the extension ".SQE" (any case) are encrypted.
bool IsEncryptedScript(const std::string& script, LeadByteTest isLead);
