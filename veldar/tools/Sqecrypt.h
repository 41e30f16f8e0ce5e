// sqecrypt PLAIN [ENCRYPTED]: the console form of the installer's script encryption,
// for build pipelines. It writes exactly what the installer's own command writes.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "Core/FileNames.h"

enum SqecryptExit { kSqecryptOk = 0, kSqecryptFileFailed = 1, kSqecryptBadUsage = 2 };

// Runs the tool on its arguments (without the program name); reports go to `out`,
// failures and usage errors to `err`.
int RunSqecrypt(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

// The default output: `plain` with its extension (from the last dot of the file name
// on) replaced by ".SQE", or ".SQE" appended when the name has none. Names are
// stepped through by characters, so the second byte of one is never a separator.
std::string EncryptedNameFor(const std::string& plain, LeadByteTest isLead = IsAnsiLeadByte);
