// The command line, from split arguments to the start options, as a table of cases.
#include "Core/CommandLine.h"

#include <gtest/gtest.h>

#include <cctype>

namespace {

struct Case {
  const char* name;
  std::vector<std::string> args;
  bool usage;
  bool unattended;
  const char* server;
  const char* login;
  const char* password;
  const char* file;
  const char* module;
};

// clang-format off
const Case kCases[] = {
    {"no arguments", {}, false, false, "", "", "", "", ""},
    {"dash question", {"-?"}, true, false, "", "", "", "", ""},
    {"slash question", {"/?"}, true, false, "", "", "", "", ""},
    {"question among switches", {"-Sdb", "-Psecret", "/?", "-Fx.sql"}, true, false, "", "", "", "", ""},
    {"longer argument beginning with -?", {"-?help"}, true, false, "", "", "", "", ""},
    {"question not second", {"--?"}, false, true, "", "", "", "", ""},
    {"bare question mark", {"?"}, false, true, "", "", "", "", ""},
    {"value attached", {"-Sdbhost", "-Ubob", "-Ppw", "-Fa.sql", "-Mmod"},
     false, true, "dbhost", "bob", "pw", "a.sql", "mod"},
    {"value as next argument", {"/S", "dbhost", "/U", "bob", "/P", "pw", "/F", "a.sql", "/M", "mod"},
     false, true, "dbhost", "bob", "pw", "a.sql", "mod"},
    {"small letter not recognised", {"-s", "dbhost"}, false, true, "", "", "", "", ""},
    {"switch last gives empty value", {"-Pp", "-S"}, false, true, "", "", "p", "", ""},
    {"switch followed by switch", {"-S", "-Ubob"}, false, true, "", "bob", "", "", ""},
    {"switch followed by slash value", {"-F", "/tmp/x.sql"}, false, true, "", "", "", "", ""},
    {"empty following argument", {"-S", "", "other"}, false, true, "", "", "", "", ""},
    {"first of two file switches wins", {"-Ffirst.sql", "-F", "second.sql"},
     false, true, "", "", "", "first.sql", ""},
    {"attached value wins over next argument", {"-Sone", "two"}, false, true, "one", "", "", "", ""},
    {"only a password", {"-Psecret"}, false, true, "", "", "secret", "", ""},
    {"unknown argument alone", {"hello"}, false, true, "", "", "", "", ""},
    {"value may hold blanks and quotes", {"-P", "a b\"c", "-F", "C:\\x y\\s.sql"},
     false, true, "", "", "a b\"c", "C:\\x y\\s.sql", ""},
    {"dash alone is not a switch", {"-", "-S", "-"}, false, true, "", "", "", "", ""},
    {"module with empty value", {"-M"}, false, true, "", "", "", "", ""},
};
// clang-format on

void PrintTo(const Case& c, std::ostream* os) {
  *os << c.name;
}

class StartOptionsTable : public ::testing::TestWithParam<Case> {};

TEST_P(StartOptionsTable, ParsesAsExpected) {
  const Case& c = GetParam();
  const StartOptions options = ParseStartOptions(c.args);
  EXPECT_EQ(c.usage, options.showUsage);
  EXPECT_EQ(c.unattended, options.unattended);
  EXPECT_EQ(c.server, options.server);
  EXPECT_EQ(c.login, options.login);
  EXPECT_EQ(c.password, options.password);
  EXPECT_EQ(c.file, options.scriptFile);
  EXPECT_EQ(c.module, options.moduleName);
}

std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
  std::string name;
  for (const char* p = info.param.name; *p; ++p)
    name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(CommandLine, StartOptionsTable, ::testing::ValuesIn(kCases), CaseName);

TEST(CommandLine, UsageTextHasSixLinesWithFixedSpacing) {
  const std::string usage = UsageText();
  EXPECT_EQ(0u, usage.find("Usage:VELDAR.EXE" + std::string(18, ' ') + "\r\n"));
  EXPECT_NE(std::string::npos, usage.find("\r\n       [-S     <[server]>]\r\n"));
  EXPECT_EQ(usage.size() - std::string("       [-M     <[modulename]>]").size(),
            usage.rfind("       [-M     <[modulename]>]"));
  size_t breaks = 0;
  for (size_t at = usage.find("\r\n"); at != std::string::npos; at = usage.find("\r\n", at + 2)) ++breaks;
  EXPECT_EQ(5u, breaks);
}

}  // namespace
