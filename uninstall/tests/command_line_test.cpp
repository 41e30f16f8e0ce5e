// The switch table: which mode a command line starts, and whether it is silent.
#include <gtest/gtest.h>

#include "setup/CommandLine.h"

namespace {

struct SwitchCase {
  const char* commandLine;
  bool silent, uninstall, setup, wait, warning;
};

const SwitchCase kCases[] = {
    // command line          silent uninstall setup  wait   warning
    {"", false, true, false, false, false},
    {"C:\\Zendra\\file.txt", false, true, false, false, false},
    {"/setup", false, false, true, false, false},
    {"/SETUP", false, false, true, false, false},
    {"/setupX", false, false, true, false, false},
    {"/set", false, false, false, false, false},
    {"/setup /s", true, false, true, false, false},
    {"/setup /S", true, false, true, false, false},
    // The text from the last "/" is "/s " and decides: no mode at all.
    {"/setup /s ", false, false, false, false, false},
    {"/s", true, false, false, false, false},
    {"/S", true, false, false, false, false},
    {"/setup /wait", false, false, false, true, false},
    {"/wait", false, false, false, true, false},
    {"/waitx", false, false, false, true, false},
    {"/WAIT", false, false, false, true, false},
    {"/warning", false, false, false, false, true},
    {"/Warning", false, false, false, false, true},
    {"/warn", false, false, false, false, false},
    {"/clean", false, false, false, false, false},
    {"/", false, false, false, false, false},
    {"/sx", false, false, false, false, false},
    {"x /setup", false, false, true, false, false},
};

void PrintTo(const SwitchCase& c, std::ostream* os) {
  *os << '"' << c.commandLine << '"';
}

class CommandLineTable : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(CommandLineTable, ModeAndSilence) {
  const SwitchCase& c = GetParam();
  CommandLine parsed = ParseCommandLine(c.commandLine);
  EXPECT_EQ(c.silent, parsed.silent);
  EXPECT_EQ(c.uninstall, parsed.uninstall);
  EXPECT_EQ(c.setup, parsed.setup);
  EXPECT_EQ(c.wait, parsed.wait);
  EXPECT_EQ(c.warning, parsed.warning);
}

INSTANTIATE_TEST_SUITE_P(Switches, CommandLineTable, ::testing::ValuesIn(kCases));

}  // namespace
