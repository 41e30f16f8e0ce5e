// sqeverify PLAIN ENCRYPTED: deciphers ENCRYPTED as the installer would and compares
// it with PLAIN. Exit code 0 when they agree, 1 when not or a file cannot be read, 2
// on bad usage.
#include <iostream>

#include "Des/FileAccess.h"
#include "tools/SqeVerify.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: sqeverify PLAIN ENCRYPTED\n";
    return 2;
  }
  std::string plain, encrypted;
  FileFailure failure;
  if (!ReadWholeFile(argv[1], plain, failure) || !ReadWholeFile(argv[2], encrypted, failure)) {
    std::cerr << "sqeverify: cannot read " << failure.file << ": " << failure.reason << "\n";
    return 1;
  }
  const VerifyReport report = VerifyEncryptedScript(plain, encrypted);
  if (!report.Ok()) {
    std::cout << "sqeverify: " << argv[2] << " does NOT decipher to " << argv[1] << ":\n";
    for (const std::string& problem : report.problems) std::cout << "  " << problem << "\n";
    return 1;
  }
  std::cout << "sqeverify: " << argv[2] << " deciphers to " << argv[1] << ": " << report.lines << " lines ("
            << report.emptyLines << " empty), all equal\n";
  return 0;
}
