// One character of the ANSI code page as Unicode, for the reports that leave the code
// page (JSON is UTF-8): natively the code page 936, which the texts of both programs
// are written in; on Windows the system's ANSI code page.
#pragma once

#include <cstddef>

// The code point of the one character that the `length` bytes (1 or 2) make; false
// when they make no character of the code page, or not exactly one.
bool DecodeAnsiChar(const char* bytes, std::size_t length, char32_t& codePoint);
