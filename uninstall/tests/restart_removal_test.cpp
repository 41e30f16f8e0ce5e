// Removal at the restart, platform-free: the order of what is left, and the text of
// WININIT.INI. Natively and under Wine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "remove/Leftovers.h"
#include "remove/WininitText.h"
#include "tests/scoped_gbk_table.h"

namespace {

TEST(RestartRemoval, FilesGoFirstThenFoldersInnerBeforeOuter) {
  ScopedGbkTable gbk;
  // Neither "." nor a trail byte that equals the backslash makes a part.
  const std::string dbcs = "C:\\Z\\" + kTrailBackslash + "x";
  std::vector<Leftover> leftovers = {{"C:\\Z\\a", true},       {dbcs, true},        {"C:\\Z\\a\\b\\f", false},
                                     {"C:\\Z\\a\\.\\b", true}, {"C:\\Z\\x", false}, {"C:\\Z\\a\\b\\c", true}};
  OrderForRestart(&leftovers);
  std::vector<std::string> order;
  for (const Leftover& leftover : leftovers) order.push_back(leftover.path);
  EXPECT_EQ((std::vector<std::string>{"C:\\Z\\a\\b\\f", "C:\\Z\\x", "C:\\Z\\a\\b\\c", "C:\\Z\\a\\.\\b",
                                      "C:\\Z\\a", dbcs}),
            order);
}

TEST(RestartRemoval, DeletionLinesGoAtTheEndOfTheRenameSectionAndAllElseStays) {
  // Room for "NUL=A\r\n" (7 bytes) but not for "NUL=B\r\n" after it.
  const std::string full = "[rename]\r\n" + std::string(kWininitSizeLimit - 12 - 7, ';') + "\r\n";
  const struct {
    std::string before, after;
    size_t added;
  } cases[] = {
      {"", "[rename]\r\nNUL=A\r\nNUL=B\r\n", 2},
      {"[other]\r\nk=v", "[other]\r\nk=v\r\n[rename]\r\nNUL=A\r\nNUL=B\r\n", 2},
      {";[rename]\r\n[renamed]\n", ";[rename]\r\n[renamed]\n[rename]\r\nNUL=A\r\nNUL=B\r\n", 2},
      {" [ Rename ] \r\nNUL=C:\\OLD.TMP\r\n\r\n[x]\r\n",
       " [ Rename ] \r\nNUL=C:\\OLD.TMP\r\nNUL=A\r\nNUL=B\r\n\r\n[x]\r\n", 2},
      {"[RENAME]\nNUL=C:\\OLD.TMP", "[RENAME]\nNUL=C:\\OLD.TMP\r\nNUL=A\r\nNUL=B\r\n", 2},
      {"[rename]\r\n[x]\r\n[rename]\r\n", "[rename]\r\nNUL=A\r\nNUL=B\r\n[x]\r\n[rename]\r\n", 2},
      {full, full + "NUL=A\r\n", 1},
      {full + "NUL=A\r\n", full + "NUL=A\r\n", 0},
  };
  for (const auto& c : cases) {
    std::string text = c.before;
    EXPECT_EQ(c.added, AddDeletionLines(&text, {"A", "B"})) << c.before.substr(0, 40);
    EXPECT_EQ(c.after, text) << c.before.substr(0, 40);
  }
}

}  // namespace
