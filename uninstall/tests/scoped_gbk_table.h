// Gives the process the lead bytes of the code page 936 for one test. Under Wine the
// system's table is that already; natively the test installs it.
#pragma once

#include <string>

#include "base/TextHelpers.h"

// "乗", a double-byte character whose trail byte is the backslash byte.
inline const std::string kTrailBackslash = "\x81\x5c";

class ScopedGbkTable {
 public:
  ScopedGbkTable() : saved_(dbcsTable) {
#ifndef _WIN32
    for (int i = 0; i < 256; ++i) dbcsTable.leadByte[i] = i >= 0x81 && i <= 0xFE;
    dbcsTable.multiByte = true;
#endif
  }
  ~ScopedGbkTable() {
    dbcsTable = saved_;
  }

 private:
  DbcsTable saved_;
};
