// A statement run through the system's ODBC driver manager on a connection of its own,
// for tests that look into a database without the code under test.
#pragma once

#include <string>
#include <vector>

// The rows of `statement`, each its columns joined by "|" (NULL as "NULL"); none for a
// statement without results. As for the installer, only a negative result is a failure
// (the SQLite driver answers SQL_NO_DATA to a batch of definitions that begins with a
// comment); a failure gives one line, "<connect failed>" or "<failed>", with the
// driver's messages.
std::vector<std::string> QueryRows(const std::string& connection, const std::string& statement);
