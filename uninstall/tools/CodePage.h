// Texts in the code page 936 (Simplified Chinese), the code page that the uninstall's
// texts and language files are written for, whatever system the tools run on.
#pragma once

#include <string>

// UTF-16 text (the texts of resources) as a program sees it in that code page: a
// character the code page lacks becomes "?".
std::string Utf16ToCodePage936(const std::u16string& text);

#ifndef _WIN32
// A name of the native file system (UTF-8) as Wine shows it to a Windows program in
// that code page; a name that does not convert stays as it is.
std::string Utf8ToCodePage936(const std::string& text);
#endif

// Gives the text helpers the lead bytes of the code page 936 where the system has no
// ANSI code page (natively); on Windows the system's own stay.
void UseCodePage936LeadBytes();
