// Texts of the uninstall side's console tools: as JSON strings, and for the plain
// reports with control bytes made visible, so that a zero byte or an escape character
// in a list or a language file never reaches the terminal as it is. Bytes of the code
// page pass through in both forms unchanged.
#pragma once

#include <string>
#include <string_view>

// The text in double quotes with JSON's escapes for the quote, the backslash and every
// control byte (below 0x20, and 0x7F).
std::string JsonString(std::string_view text);

// The text in double quotes with every control byte written as \xNN; nothing else changes.
std::string ShownText(std::string_view text);
