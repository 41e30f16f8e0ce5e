// The check behind the main job: deciphers an encrypted script the way the installer
// reads it and compares it line by line with the plain script it was made from.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

struct VerifyReport {
  std::size_t lines = 0;       // lines of the plain script
  std::size_t emptyLines = 0;  // of which empty
  std::vector<std::string> problems;

  bool Ok() const { return problems.empty(); }
};

// Compares the text of an encrypted script with the text of its plain script.
VerifyReport VerifyEncryptedScript(const std::string& plainText, const std::string& encryptedText);

// sqeverify PLAIN ENCRYPTED: exit code 0 when they agree, 1 when not or a file cannot
// be read, 2 on bad usage; the verdict goes to `out`, failures and usage to `err`.
int RunSqeverify(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
