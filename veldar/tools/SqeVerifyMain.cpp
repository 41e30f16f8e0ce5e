// sqeverify PLAIN ENCRYPTED: deciphers ENCRYPTED as the installer would and compares
// it with PLAIN. Exit code 0 when they agree, 1 when not or a file cannot be read, 2
// on bad usage. The texts go out through stdio, not std::cout: the C++ standard
// streams would bring in file functions that the C runtime of Windows 2000 lacks.
#include <cstdio>

#include "Base/FileAccess.h"
#include "tools/SqeVerify.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: sqeverify PLAIN ENCRYPTED\n", stderr);
    return 2;
  }
  std::string plain, encrypted;
  FileFailure failure;
  if (!ReadWholeFile(argv[1], plain, failure) || !ReadWholeFile(argv[2], encrypted, failure)) {
    std::fprintf(stderr, "sqeverify: cannot read %s: %s\n", failure.file.c_str(), failure.reason.c_str());
    return 1;
  }
  const VerifyReport report = VerifyEncryptedScript(plain, encrypted);
  if (!report.Ok()) {
    std::printf("sqeverify: %s does NOT decipher to %s:\n", argv[2], argv[1]);
    for (const std::string& problem : report.problems) std::printf("  %s\n", problem.c_str());
    return 1;
  }
  std::printf("sqeverify: %s deciphers to %s: %lu lines (%lu empty), all equal\n", argv[2], argv[1],
              static_cast<unsigned long>(report.lines), static_cast<unsigned long>(report.emptyLines));
  return 0;
}
