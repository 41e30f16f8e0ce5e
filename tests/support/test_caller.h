// Where an asserting helper was called from. The helper takes `Caller caller = {}` as
// its last parameter and opens `CallerTrace trace(caller);` first: a failure inside it
// then names the test's own line as well as the helper's, as a test that asserted there
// itself would.
#pragma once

#include <gtest/gtest.h>

namespace test_support {

struct Caller {
  // The defaults are taken where the helper is called.
  Caller(const char* file = __builtin_FILE(), int line = __builtin_LINE()) : file(file), line(line) {}
  const char* file;
  int line;
};

class CallerTrace : public ::testing::ScopedTrace {
 public:
  explicit CallerTrace(const Caller& caller) : ScopedTrace(caller.file, caller.line, "called from here") {}
};

}  // namespace test_support
