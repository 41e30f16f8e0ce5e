#include "tools/SqeVerify.h"

#include "Des/ScriptFile.h"

VerifyReport VerifyEncryptedScript(const std::string& plainText, const std::string& encryptedText) {
  VerifyReport report;
  const std::vector<std::string> plain = SplitLines(plainText);
  const std::vector<std::string> encrypted = SplitLines(encryptedText);
  report.lines = plain.size();
  if (JoinLines(encrypted) != encryptedText) report.problems.push_back("a line does not end with CR LF");
  if (encrypted.size() != plain.size())
    report.problems.push_back(std::to_string(encrypted.size()) + " encrypted lines for " +
                              std::to_string(plain.size()) + " plain lines");

  TEncryption des;
  des.SetKey(kScriptKey);
  des.SetAction(TActionType::Decryption);
  for (std::size_t i = 0; i < plain.size() && i < encrypted.size(); ++i) {
    const std::string where = "line " + std::to_string(i + 1) + ": ";
    if (plain[i].empty()) ++report.emptyLines;
    if (encrypted[i].empty()) {
      if (!plain[i].empty()) report.problems.push_back(where + "empty, but the plain line is not");
      continue;
    }
    if (encrypted[i].find_first_not_of("0123456789ABCDEF") != std::string::npos)
      report.problems.push_back(where + "not upper-case hexadecimal");
    if (encrypted[i].size() != 16 * ((plain[i].size() + 7) / 8))
      report.problems.push_back(where + std::to_string(encrypted[i].size()) + " digits for " +
                                std::to_string(plain[i].size()) + " bytes");
    des.SetHexInput(encrypted[i]);
    des.Execute();
    std::string line = des.Output();
    while (!line.empty() && line.back() == '\0') line.pop_back();
    if (line != plain[i]) report.problems.push_back(where + "deciphers to \"" + line + "\"");
  }
  return report;
}
