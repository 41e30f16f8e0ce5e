// Line kinds and the texts built from directive lines.
#include "Core/ScriptLines.h"

#include <gtest/gtest.h>

#include "Des/ScriptFile.h"
#include "tests/text_pieces.h"

namespace {

TEST(ScriptLines, BatchEndIsGoInAnyCaseWithBlanksAround) {
  for (const char* line : {"GO", "go", "Go", "gO", "  GO", "\tgo\t", "GO   ", " \t Go \t ", "GO\x0b"}) {
    EXPECT_TRUE(IsBatchEnd(line)) << '"' << line << '"';
    EXPECT_EQ(LineKind::BatchEnd, ClassifyLine(line)) << line;
  }
  for (const char* line : {"GO;", "GO 2", "G O", "GOO", "", "--GO", "GO--", "\xa3\xc7\xa3\xcf"}) {
    EXPECT_FALSE(IsBatchEnd(line)) << '"' << line << '"';
  }
}

TEST(ScriptLines, DirectivePrefixesAreExactAndAtTheLineStart) {
  const struct {
    LineKind kind;
    std::vector<const char*> lines;
  } cases[] = {
      {LineKind::Copy, {"^setup.dll", "--^Csetup.dll"}},
      {LineKind::Restore, {"--^Rdb,db.bak"}},
      {LineKind::Execute, {"--^E tool.exe"}},
      {LineKind::Sql,
       {"--^csetup.dll", "--^rdb,db.bak", "--^e tool.exe", " ^setup.dll", " --^E tool.exe", "--^X", ""}}};
  for (const auto& c : cases) {
    for (const char* line : c.lines) EXPECT_EQ(c.kind, ClassifyLine(line)) << '"' << line << '"';
  }
}

TEST(ScriptLines, CopyAndRestoreKeepTheirRestAsWritten) {
  EXPECT_EQ("setup.dll", CopyDirectiveFile("^setup.dll"));
  EXPECT_EQ(" a b.dll ", CopyDirectiveFile("--^C a b.dll "));
  EXPECT_EQ("", CopyDirectiveFile("--^C"));

  RestoreDirective r = ParseRestoreDirective("--^RShop,shop.bak");
  EXPECT_EQ("Shop", r.database);
  EXPECT_EQ("shop.bak", r.file);
  r = ParseRestoreDirective("--^Rshop.bak");
  EXPECT_EQ("", r.database);
  EXPECT_EQ("shop.bak", r.file);
  r = ParseRestoreDirective("--^R a ,b,c ");
  EXPECT_EQ(" a ", r.database);
  EXPECT_EQ("b,c ", r.file);
}

TEST(ScriptLines, RestoreStatementText) {
  EXPECT_EQ(
      "RESTORE DATABASE Shop FROM DISK = 'C:\\shop.bak' WITH MOVE 'Shop_dat' TO "
      "'D:\\Server\\Data\\Shop.mdf', "
      "MOVE 'Shop_log' TO 'D:\\Server\\Data\\Shop.ldf'",
      RestoreStatement({"Shop", "shop.bak"}, "D:\\Server\\Data\\"));
  EXPECT_EQ("RESTORE DATABASE  FROM DISK = 'C:\\x.bak' WITH MOVE '_dat' TO '.mdf', MOVE '_log' TO '.ldf'",
            RestoreStatement({"", "x.bak"}, ""));
}

TEST(ScriptLines, ServerFoldersFromThePathValue) {
  EXPECT_EQ("D:\\Server\\BINN", ServerProgramFolder("D:\\Server\\BINN"));
  EXPECT_EQ("D:\\Server\\BINN", ServerProgramFolder("D:\\Server"));
  EXPECT_EQ("D:\\Server\\Binn\\BINN", ServerProgramFolder("D:\\Server\\Binn"));
  EXPECT_EQ("D:\\BINN\\x", ServerProgramFolder("D:\\BINN\\x"));
  EXPECT_EQ("\\BINN", ServerProgramFolder(""));

  EXPECT_EQ("D:\\Server\\Data\\", DataFolder(ServerProgramFolder("D:\\Server\\BINN")));
  EXPECT_EQ("D:\\Server\\Data\\", DataFolder(ServerProgramFolder("D:\\Server")));
  EXPECT_EQ("D:\\Server\\Binn\\Data\\", DataFolder(ServerProgramFolder("D:\\Server\\Binn")));
  // The last four characters go whatever they are.
  EXPECT_EQ("D:\\Server\\BData\\", DataFolder(ServerProgramFolder("D:\\Server\\BINN\\")));
  EXPECT_EQ("Data\\", DataFolder("BIN"));
  // Code page 936: "BINN" from the second byte of a character on is none, and the last
  // four characters are whole ones, whatever their second bytes.
  EXPECT_EQ("D:\\SQL\201BINN\\BINN", ServerProgramFolder("D:\\SQL\201BINN", IsGbkLeadByte));
  EXPECT_EQ("D:\\BINNData\\", DataFolder("D:\\BINN\\\x95\x5c\x81\x7b\x82\x7d", IsGbkLeadByte));
}

TEST(ScriptLines, ExecuteCommandIsTrimmedAndFilledIn) {
  EXPECT_EQ("tool.exe -x", ExecuteDirectiveCommand("--^E \t tool.exe -x \r"));
  EXPECT_EQ("", ExecuteDirectiveCommand("--^E"));

  const PlaceholderValues values{"D:\\setup", "db1", "sa", "p%w"};
  EXPECT_EQ("D:\\setup\\t.exe db1 sa p%w",
            FillPlaceholders("%SourceDir%\\t.exe %ServerName% %UserName% %Password%", values));
  EXPECT_EQ("D:\\setupD:\\setup db1DB1 P%W p%w",
            FillPlaceholders("%sourcedir%%SOURCEDIR% %servername%DB1 P%W %pAsSwOrD%", values));
  EXPECT_EQ("%Source Dir% %ServerNam %User%", FillPlaceholders("%Source Dir% %ServerNam %User%", values));
  // A value is not searched again for its own placeholder.
  EXPECT_EQ("%Password%x", FillPlaceholders("%Password%", {"", "", "", "%Password%x"}));
}

TEST(ScriptLines, TrimTrailingCharRemovesOnlyTheTrailingRun) {
  EXPECT_EQ("", TrimTrailingChar("", '\0'));
  EXPECT_EQ("", TrimTrailingChar(std::string(8, '\0'), '\0'));
  EXPECT_EQ(std::string("\0a\0b", 4), TrimTrailingChar(std::string("\0a\0b\0\0\0", 7), '\0'));
  EXPECT_EQ("a b", TrimTrailingChar("a b  ", ' '));
  EXPECT_EQ("abc", TrimTrailingChar("abc", '\0'));
}

// One rule for line breaks: the run's reader, wherever its pieces end, and SplitLines.
struct LineCase {
  std::string text;
  std::vector<std::string> lines;
};

const LineCase kLineCases[] = {
    {"", {}},
    {"a", {"a"}},
    {"a\r\n", {"a"}},
    {"a\r\nb", {"a", "b"}},
    {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
    {"\r\n", {""}},
    {"\r\n\r\n", {"", ""}},
    {"\r\r", {"", ""}},
    {"\n\r", {"", ""}},
    {"\nx", {"", "x"}},
    {"a\n\n", {"a", ""}},
    {"a\n\nb\n", {"a", "", "b"}},
    {"a\r\rb", {"a", "", "b"}},
    {"a\r\r\nb", {"a", "", "b"}},
    {"a\n\r", {"a", ""}},  // LF then CR: two breaks, not one
    {"a\r\n\nb", {"a", "", "b"}},
    {"x\r", {"x"}},
    {std::string("n\0ul\xff\xb0\xa1", 7) + "\r\nz", {std::string("n\0ul\xff\xb0\xa1", 7), "z"}},
    {"\xb1\x5c\r\n\t", {"\xb1\x5c", "\t"}},
    {" GO \t\r\n", {" GO \t"}},  // nothing is trimmed
    {"GO\r\nlonger line\r\n\r\nend", {"GO", "longer line", "", "end"}},
};

void PrintTo(const LineCase& c, std::ostream* os) {
  *os << ::testing::PrintToString(c.text);
}

class LineBreaks : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineBreaks, AtCrLfLoneCrAndLoneLfWhereverThePiecesEnd) {
  const LineCase& c = GetParam();
  EXPECT_EQ(c.lines, SplitLines(c.text)) << '"' << c.text << '"';
  for (size_t pieceSize : {1, 2, 3, 4096})
    EXPECT_EQ(c.lines, ReadLinesInPieces(c.text, pieceSize))
        << '"' << c.text << "\" in pieces of " << pieceSize;
}

INSTANTIATE_TEST_SUITE_P(Texts, LineBreaks, ::testing::ValuesIn(kLineCases));

}  // namespace
