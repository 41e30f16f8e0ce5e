// The installer's command line: switches "-X" or "/X" with a value written directly
// after the letter or as the next argument. Parsed into a plain struct before the
// window acts on it.
#pragma once

#include <string>
#include <vector>

// What a start asks for. Every argument, recognised or not, makes the start unattended.
struct StartOptions {
  bool showUsage = false;
  bool unattended = false;
  std::string server;      // -S; empty: keep the window's default
  std::string login;       // -U; empty: keep the window's default
  std::string password;    // -P; empty: keep the window's default
  std::string scriptFile;  // -F
  std::string moduleName;  // -M
};

// True if an argument of at least two characters begins with "-" or "/" and the
// first occurrence of text in it is at its second character.
bool HasSwitch(const std::vector<std::string>& args, const std::string& text);

// The value of the first switch with this letter (letters compared exactly): the rest
// of that argument, or, when the rest is empty, the following argument unless it
// begins with "-" or "/". Empty if there is no such switch.
std::string GetSwitchValue(const std::vector<std::string>& args, char letter);

StartOptions ParseStartOptions(const std::vector<std::string>& args);

// The six lines shown for "-?", joined by CR LF.
std::string UsageText();
