// Fuzzes the installation list of uninstall: line reading and the entry check. Every
// path handed out must lie inside the folder however the system splits it: whether a
// double-byte character's trail byte is read as part of the character (as the code
// page says) or as a separator, no sequence of ".." parts may climb above the folder.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/TextHelpers.h"
#include "remove/InstallationList.h"

namespace {

const char kFolder[] = "C:\\Zendra\\";

// Any part of dots and blanks with two dots or more may be read as the parent folder:
// the system drops trailing dots and blanks from names.
bool IsClimbing(const std::string& part) {
  return part.find_first_not_of(". ") == std::string::npos && std::count(part.begin(), part.end(), '.') >= 2;
}

// The depth below the folder that the entry reaches at its lowest, with the parts
// split at every separator byte (`wholeCharacters` false) or at separators outside
// double-byte characters only.
int LowestDepth(const std::string& entry, bool wholeCharacters) {
  int depth = 0, lowest = 0;
  std::string part;
  auto endPart = [&] {
    if (IsClimbing(part)) {
      --depth;
    } else if (!part.empty() && part != "." && part != " ") {
      ++depth;
    }
    if (depth < lowest) lowest = depth;
    part.clear();
  };
  for (size_t i = 0; i < entry.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(entry[i]);
    if (wholeCharacters && dbcsTable.leadByte[c] && i + 1 < entry.size()) {
      part += entry.substr(i, 2);
      ++i;
    } else if (c == '\\' || c == '/') {
      endPart();
    } else {
      part += static_cast<char>(c);
    }
  }
  endPart();
  return lowest;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The lead bytes of the code page 936.
  for (int i = 0; i < 256; ++i) dbcsTable.leadByte[i] = i >= 0x81 && i <= 0xFE;
  dbcsTable.multiByte = true;

  FILE* list = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (list == nullptr) return 0;
  size_t pathSize = 64 + (size % 64);
  VisitListEntries(
      list, kFolder,
      [&](const char* path) {
        size_t length = strlen(path);
        if (length >= pathSize || strncmp(path, kFolder, strlen(kFolder)) != 0) abort();
        std::string entry = path + strlen(kFolder);
        if (entry.empty() || entry[0] == '\\' || entry[0] == '/' || entry.find(':') != std::string::npos)
          abort();
        if (LowestDepth(entry, true) < 0 || LowestDepth(entry, false) < 0) abort();
        return true;
      },
      pathSize);
  fclose(list);
  return 0;
}
