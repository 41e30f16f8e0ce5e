#include "tools/Sqecrypt.h"

#include "Des/ScriptFile.h"
#include "ProjectVersion.h"
#include "toolsupport/ToolUsage.h"

namespace {

const char kUsage[] =
    "usage: sqecrypt PLAIN [ENCRYPTED]\n"
    "       sqecrypt --version\n"
    "Enciphers the installation script PLAIN for VELDAR: every non-empty line under the\n"
    "installer's key, written as upper-case hexadecimal; empty lines stay empty; every\n"
    "line ends with CR LF. Writes ENCRYPTED, by default PLAIN with the extension .SQE.\n"
    "An existing file is replaced only once the new one is complete.\n"
    "Exit codes: 0 done, 1 a file could not be read or written, 2 bad usage.\n";

const ToolUsage kSqecrypt("sqecrypt", kUsage, kSqecryptBadUsage);

}  // namespace

std::string EncryptedNameFor(const std::string& plain, LeadByteTest isLead) {
  // The installer's encryption command names its output the same way.
  return ChangeFileExt(plain, ".SQE", isLead);
}

int RunSqecrypt(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  std::vector<std::string> files;
  bool optionsEnded = false;
  for (const std::string& argument : arguments) {
    if (!optionsEnded && ToolUsage::IsHelp(argument)) return kSqecrypt.Help(out);
    if (!optionsEnded && argument == "--version") {
      out << "sqecrypt " << PROJECT_VERSION_TEXT << "\n";
      return kSqecryptOk;
    }
    if (!optionsEnded && argument == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && ToolUsage::IsOption(argument)) {
      return kSqecrypt.Bad(err, "unknown option " + argument);
    } else if (argument.empty()) {
      return kSqecrypt.Bad(err, "empty file name");
    } else {
      files.push_back(argument);
    }
  }
  if (files.empty()) return kSqecrypt.Bad(err, "no script given");
  if (files.size() > 2) return kSqecrypt.Bad(err, "too many arguments");

  const std::string& plain = files[0];
  const std::string encrypted = files.size() == 2 ? files[1] : EncryptedNameFor(plain);
  TEncryption des;
  des.SetKey(kScriptKey);
  std::size_t lines = 0;
  FileFailure failure;
  if (EncryptScriptFile(des, plain, encrypted, lines, failure)) {
    out << "sqecrypt: " << plain << " -> " << encrypted << " (" << lines << " lines)\n";
    return kSqecryptOk;
  }
  if (failure.kind == FileFailure::Kind::Read)
    err << "sqecrypt: cannot read " << failure.file << ": " << failure.reason << "\n";
  else
    err << "sqecrypt: cannot write " << failure.file << ": " << failure.reason << " (no file was changed)\n";
  return kSqecryptFileFailed;
}
