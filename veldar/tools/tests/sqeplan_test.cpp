// The plan of tricky scripts, made through the run's own line loop: batches, directives
// and warnings in one outline per script.
#include <gtest/gtest.h>

#include <set>

#include "Des/ScriptFile.h"
#include "des_reference.h"
#include "tests/text_pieces.h"
#include "toolsupport/JsonText.h"
#include "tools/PlanReport.h"
#include "tools/ScriptPlan.h"

namespace {

// "b1-2" a batch sent, "b3-4!" one that fails unsent; "copy@3" a directive; "w:go-lookalike@5".
std::string Outline(const ScriptPlan& plan) {
  std::string outline;
  for (const PlanBatch& b : plan.batches)
    outline += "b" + std::to_string(b.firstLine) + "-" + std::to_string(b.lastLine) + (b.sent ? " " : "! ");
  for (const PlanDirective& d : plan.directives) outline += d.kind + "@" + std::to_string(d.line) + " ";
  for (const PlanWarning& w : plan.warnings) outline += "w:" + w.kind + "@" + std::to_string(w.line) + " ";
  return outline;
}

std::string Encipher(const std::string& plainText) {
  return JoinLines(EncipheredLines(SplitLines(plainText)));
}

ScriptPlan Plan(const std::string& script, const std::string& text, PlanOptions options = {}) {
  const std::set<std::string> files = {"dir/kzp.dll", "dir/db.bak", "D:\\kit\\kzp.dll"};
  if (!options.fileExists)
    options.fileExists = [files](const std::string& name) { return files.count(name) > 0; };
  return PlanScript(script, PiecesOf(text), options);
}

struct PlanCase {
  const char* name;
  const char* script;
  std::string text;
  const char* outline;
};

const PlanCase kCases[] = {
    {"no batch end at all", "dir/a.sql", "SELECT 1\r\n\r\n", "w:not-sent@1 "},
    {"blank lines after the last GO are no loss", "dir/a.sql", "SELECT 1\nGO\n\n \t\n", "b1-2 "},
    {"only GO alone ends a batch", "dir/a.sql",
     "a\n GO\t\nGO;\nGO 2\ngo--x\nGO2\nGOTO\nGOTO done\nGOOD\n Go \n",
     "b1-2 b3-10 w:go-lookalike@3 w:go-lookalike@4 "
     "w:go-lookalike@5 w:go-lookalike@6 w:go-lookalike@7 "},
    {"two GO lines send an empty batch", "dir/a.sql", "a\nGO\n\nGO\nGO\n",
     "b1-2 b3-4 b5-5 w:empty-batch@4 w:empty-batch@5 "},
    {"a zero byte fails its batch unsent", "dir/a.sql", std::string("a\nb\0c\nGO\nd\nGO\n", 14),
     "b1-3! b4-5 w:zero-byte@2 "},
    {"copies of present and missing files", "dir/a.sql",
     "^kzp.dll\r\n--^Cnone.dll\r\n--^ckzp.dll\r\n ^kzp.dll\r\nGO\r\n",
     "b1-5 copy@1 copy@2 comment@3 comment@4 w:missing-file@2 "},
    {"a restore sends its batch at once", "dir/a.sql", "a\n--^RParts,db.bak\nb\nGO\n--^RNo,none.bak\n",
     "b1-2 b3-4 b5-5! restore@2 restore@5 w:missing-file@5 "},
    {"execute directives between batches", "dir/a.sql", "a\n--^E setup.exe\nGO\n--^Emissing.exe\n",
     "b1-3 execute@2 execute@4 "},
    {"the marker of a plain script is a comment", "dir/a.sql", "--LANTHORN--\nGO\n", "b1-2 comment@1 "},
    {"an encrypted script with its marker", "dir/a.SQE",
     Encipher("CREATE VIEW v\n--LANTHORN--\nAS SELECT 1\n\nGO\n"), "b1-5 marker@2 "},
    {"encrypted lines that are not whole blocks", "dir/a.sqe",
     Encipher("a\nGO\n") + "ABC\r\n0123456789ABCDEG\r\n" + Encipher("GO\n").substr(0, 16) + "00\r\n",
     // The enciphered "GO" with two more digits deciphers to "GO", zero bytes and more.
     "b1-2 w:bad-hex@3 w:not-sent@3 w:bad-hex@4 w:bad-hex@5 w:zero-byte@5 w:go-lookalike@5 "},
};

class PlanTableTest : public testing::TestWithParam<PlanCase> {};

TEST_P(PlanTableTest, Outline) {
  const PlanCase& c = GetParam();
  EXPECT_EQ(c.outline, Outline(Plan(c.script, c.text)));
}

INSTANTIATE_TEST_SUITE_P(Scripts, PlanTableTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<PlanCase>& info) {
                           return "case" + std::to_string(info.index);
                         });

TEST(PlanTest, DirectivesShowWhatTheRunWouldDo) {
  PlanOptions options;
  options.server = "db1";
  const ScriptPlan plan =
      Plan("dir/a.sql",
           "^kzp.dll\n--^RParts,db.bak\n"
           "--^E \"%SourceDir%\\setup.exe\" -S %servername% -U %UserName% -P %Password% \n",
           options);
  ASSERT_EQ(3u, plan.directives.size());
  EXPECT_EQ("<program folder>\\kzp.dll", plan.directives[0].source);
  EXPECT_EQ("<server program folder>\\kzp.dll", plan.directives[0].destination);
  EXPECT_EQ("C:\\db.bak", plan.directives[1].destination);
  EXPECT_EQ(
      "RESTORE DATABASE Parts FROM DISK = 'C:\\db.bak' WITH MOVE 'Parts_dat' TO "
      "'<server data folder>\\Parts.mdf', MOVE 'Parts_log' TO '<server data folder>\\Parts.ldf'",
      plan.directives[1].text);
  EXPECT_EQ(plan.directives[1].text, plan.batches[0].firstText);
  EXPECT_EQ("\"<program folder>\\setup.exe\" -S db1 -U sa -P ***", plan.directives[2].text);
}

// Both reports say why a batch fails unsent.
TEST(PlanTest, ABatchNotSentSaysWhy) {
  const ScriptPlan plan = Plan("dir/a.sql", std::string("a\0\nGO\nb\n--^RNo,none.bak\n", 22));
  EXPECT_NE(std::string::npos, PlanText(plan).find("batch 1 NOT sent (it holds a zero byte) and counted as failed"));
  EXPECT_NE(std::string::npos, PlanText(plan).find("batch 2 NOT sent (its restore's backup is not in the program "
                                                   "folder) and counted as failed, 2 lines, first \"b\""));
  EXPECT_NE(std::string::npos, PlanJson(plan).find("\"sent\": false, \"not_sent_because\": \"its restore's"));
}

TEST(PlanTest, AGivenProgramFolderIsWhereFilesAreLookedFor) {
  PlanOptions options;
  options.sourceDir = "D:\\kit";
  const ScriptPlan plan = Plan("dir/a.sql", "^kzp.dll\n--^E%SourceDir%\\x.exe\n", options);
  ASSERT_EQ(2u, plan.directives.size());
  EXPECT_EQ("D:\\kit\\kzp.dll", plan.directives[0].source);
  EXPECT_EQ("D:\\kit\\x.exe", plan.directives[1].text);
  EXPECT_TRUE(plan.warnings.empty());
}

TEST(PlanTest, ReportsEscapeControlBytes) {
  const ScriptPlan plan = Plan("dir/a.sql", std::string("x\0\x1b\"\\\nGO\n", 9));
  // The batch fails unsent; what would have gone ends at the zero byte.
  EXPECT_NE(std::string::npos, PlanText(plan).find(", first \"x\"\n"));
  EXPECT_EQ("\"a\\u0000\\u001b\\\"\\\\\\n\"", JsonString(std::string("a\0\x1b\"\\\n", 6)));
  EXPECT_EQ("\"a\\x00\\x1B\"\\\"", ShownText(std::string("a\0\x1b\"\\", 5)));
  EXPECT_EQ(std::string::npos, PlanJson(plan).find('\0'));
}

// Code page 936 texts in a JSON report: UTF-8, and the bytes beside a text that has
// some that make no character (a lead byte before a quote, a line end or the text's end).
TEST(PlanTest, JsonFieldsAreUtf8) {
  const std::pair<std::string, std::string> kFields[] = {
      {"\xd6\xd0\xce\xc4 \x81\x5c", "\"f\": \"中文 乗\""},
      {"\x80\xaa\xa1\xa2\xab\xfe\x50", "\"f\": \"€\xee\x80\x80\xee\x9d\xa6\xee\xa0\x95\""},
      {"a\xd6\"\\\xd6\n\xff\xd6", "\"f\": \"a�\\\"\\\\�\\n��\", \"f_bytes\": \"61D6225CD60AFFD6\""},
      {std::string("\xd6\0\x1b", 3), "\"f\": \"�\\u0000\\u001b\", \"f_bytes\": \"D6001B\""},
  };
  for (const auto& field : kFields) EXPECT_EQ(field.second, JsonField("f", field.first));
  EXPECT_EQ("\"f\": [\"a\", \"�\"], \"f_bytes\": [null, \"FF\"]", JsonFieldList("f", {"a", "\xff"}));
  EXPECT_EQ("\"f\": [\"a\"]", JsonFieldList("f", {"a"}));
}

}  // namespace
