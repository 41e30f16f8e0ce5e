#include "tools/SqeVerify.h"

#include "Base/FileAccess.h"
#include "Des/ScriptFile.h"
#include "toolsupport/ToolUsage.h"

namespace {

const char kUsage[] =
    "usage: sqeverify PLAIN ENCRYPTED\n"
    "Deciphers the encrypted script ENCRYPTED as VELDAR reads it and compares it line by\n"
    "line with the plain script PLAIN it was made from.\n"
    "Exit codes: 0 the two agree, 1 they do not (each difference is listed) or a file\n"
    "cannot be read, 2 bad usage.\n";

}  // namespace

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

int RunSqeverify(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  // Two file names, taken in order: a help switch or another option ends it first.
  const ToolUsage usage("sqeverify", kUsage, 2);
  for (const std::string& argument : arguments) {
    if (ToolUsage::IsHelp(argument)) return usage.Help(out);
    if (ToolUsage::IsOption(argument)) return usage.Bad(err, "unknown option " + argument);
  }
  if (arguments.size() != 2)
    return usage.Bad(
        err, arguments.size() < 2 ? "needs a plain and an encrypted script" : "more than two scripts");
  const std::string& plainFile = arguments[0];
  const std::string& encryptedFile = arguments[1];
  std::string plain, encrypted;
  FileFailure failure;
  if (!ReadWholeFile(plainFile, plain, failure) || !ReadWholeFile(encryptedFile, encrypted, failure)) {
    err << "sqeverify: cannot read " << failure.file << ": " << failure.reason << "\n";
    return 1;
  }
  const VerifyReport report = VerifyEncryptedScript(plain, encrypted);
  if (!report.Ok()) {
    out << "sqeverify: " << encryptedFile << " does NOT decipher to " << plainFile << ":\n";
    // A line that deciphers to a zero byte is shown up to it.
    for (const std::string& problem : report.problems) out << "  " << problem.c_str() << "\n";
    return 1;
  }
  out << "sqeverify: " << encryptedFile << " deciphers to " << plainFile << ": " << report.lines << " lines ("
      << report.emptyLines << " empty), all equal\n";
  return 0;
}
