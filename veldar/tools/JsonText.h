// Texts of the console tools' reports. The JSON reports are UTF-8: each text, read in
// the ANSI code page, is converted there, and a text with bytes that make no character
// of the code page shows U+FFFD in their place and comes with all its bytes beside it.
// The plain reports stay in the code page, with control bytes made visible, so that a
// zero byte or an escape character in an input never reaches the terminal as it is.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The text in UTF-8 in double quotes, with JSON's escapes for the quote, the backslash
// and every control character (below 0x20, and 0x7F).
std::string JsonString(std::string_view text);

// `"name": "text"`, followed by `, "name_bytes": "..."` with the text's bytes in
// hexadecimal when some of them make no character of the code page.
std::string JsonField(const std::string& name, std::string_view text);
// `"name": ["text", ...]`, followed by `, "name_bytes": [...]` when a text has such
// bytes: for each text its bytes in hexadecimal, or null when it converts whole.
std::string JsonFieldList(const std::string& name, const std::vector<std::string>& texts);

// The text in double quotes with every control byte written as \xNN; nothing else changes.
std::string ShownText(std::string_view text);
