// The console tool: its arguments, its output names, its messages and exit codes.
#include <gtest/gtest.h>

#include <cctype>
#include <sstream>

#include "Des/ScriptFile.h"
#include "des_reference.h"
#include "ProjectVersion.h"
#include "scratch_folder.h"
#include "tools/SqeVerify.h"
#include "tools/Sqecrypt.h"

namespace {

TEST(EncryptedNameFor, ChangesOrAppendsTheExtension) {
  const char* const cases[][2] = {{"VELDAR.SQL", "VELDAR.SQE"}, {"setup.v2.sql", "setup.v2.SQE"},
                                  {"script", "script.SQE"},     {"dir.d/script", "dir.d/script.SQE"},
                                  {"dir/a.SQE", "dir/a.SQE"},   {"trailing.", "trailing.SQE"}};
  for (const auto& c : cases) EXPECT_EQ(c[1], EncryptedNameFor(c[0])) << c[0];
  // Code page 936: "a.b" and a character whose second byte is a backslash: ".b..." goes.
  EXPECT_EQ("a.SQE", EncryptedNameFor("a.b\x95\x5c", IsGbkLeadByte));
  EXPECT_EQ("\x95\x5c.d\\\x81\x7b.SQE", EncryptedNameFor("\x95\x5c.d\\\x81\x7b", IsGbkLeadByte));
#ifdef _WIN32
  EXPECT_EQ("C:\\dir.d\\script.SQE", EncryptedNameFor("C:\\dir.d\\script"));
  EXPECT_EQ("C:x.SQE", EncryptedNameFor("C:x.sql"));
  EXPECT_EQ("a.SQE", EncryptedNameFor("a.b\x95\x5c"));  // the ANSI code page, 936 under test
#endif
}

class Sqecrypt : public ScratchFolder {
 protected:
  int Run(std::vector<std::string> arguments) {
    out_.str("");
    err_.str("");
    return RunSqecrypt(arguments, out_, err_);
  }
  std::ostringstream out_, err_;
};

TEST_F(Sqecrypt, BadUsageShowsTheUsageAndExitsWithTwo) {
  const std::vector<std::vector<std::string>> bad = {
      {}, {"a", "b", "c"}, {"-x", "a"}, {"--decrypt", "a.SQE"}, {""}, {"a", ""}};
  for (const auto& arguments : bad) {
    EXPECT_EQ(2, Run(arguments)) << arguments.size() << " arguments";
    EXPECT_NE(std::string::npos, err_.str().find("usage: sqecrypt PLAIN [ENCRYPTED]")) << err_.str();
    EXPECT_EQ("", out_.str());
  }
  EXPECT_TRUE(Contents().empty());
  EXPECT_EQ(0, Run({"--help"}));
  EXPECT_NE(std::string::npos, out_.str().find("usage: sqecrypt PLAIN [ENCRYPTED]"));
  EXPECT_EQ(0, Run({"--version"}));
  EXPECT_EQ("sqecrypt " PROJECT_VERSION_TEXT "\n", out_.str());
  EXPECT_TRUE(Contents().empty());
}

TEST_F(Sqecrypt, WritesBesideThePlainScriptByDefault) {
  const std::string plain = PathOf("VELDAR.SQL");
  WriteBytes(plain, "select 1\n\nGO\n");
  ASSERT_EQ(0, Run({plain})) << err_.str();
  const std::string encrypted = ReadBytes(PathOf("VELDAR.SQE"));
  EXPECT_EQ(EncipheredLine("select 1") + "\r\n\r\n" + EncipheredLine("GO") + "\r\n", encrypted);
  EXPECT_NE(std::string::npos, out_.str().find("(3 lines)")) << out_.str();
  EXPECT_EQ("", err_.str());
}

TEST_F(Sqecrypt, WritesTheNamedOutputAndOptionsCanBeEnded) {
  WriteBytes(PathOf("-dash.sql"), "GO");
  ASSERT_EQ(0, Run({"--", PathOf("-dash.sql"), PathOf("out.txt")})) << err_.str();
  EXPECT_TRUE(VerifyEncryptedScript("GO", ReadBytes(PathOf("out.txt"))).Ok());
  EXPECT_EQ((std::set<std::string>{"-dash.sql", "out.txt"}), Contents());
}

TEST_F(Sqecrypt, FileFailuresNameTheFileAndExitWithOne) {
  EXPECT_EQ(1, Run({PathOf("missing.sql")}));
  EXPECT_NE(std::string::npos, err_.str().find("cannot read " + PathOf("missing.sql") + ": ")) << err_.str();
  EXPECT_TRUE(Contents().empty());

  WriteBytes(PathOf("a.sql"), "select 1\r\n");
  const std::string unwritable = PathOf("no such folder/a.SQE");
  EXPECT_EQ(1, Run({PathOf("a.sql"), unwritable}));
  EXPECT_NE(std::string::npos, err_.str().find("cannot write " + unwritable + ": ")) << err_.str();
  EXPECT_EQ(std::set<std::string>{"a.sql"}, Contents());
}

TEST(VerifyEncryptedScript, FindsEveryKindOfMismatch) {
  const auto hex = EncipheredLine;
  const std::string plain = "select 1\r\n\r\nGO\r\n";
  const std::string good = hex("select 1") + "\r\n\r\n" + hex("GO") + "\r\n";
  const VerifyReport report = VerifyEncryptedScript(plain, good);
  EXPECT_TRUE(report.Ok());
  EXPECT_EQ(3u, report.lines);
  EXPECT_EQ(1u, report.emptyLines);

  std::string lower = good, changed = good;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  changed[0] = changed[0] == '0' ? '1' : '0';
  const std::string bad[] = {
      hex("select 1") + "\r\n\r\n" + hex("GO"),             // last line without CR LF
      hex("select 1") + "\r\n" + hex("GO") + "\r\n",        // an empty line lost
      hex("select 2") + "\r\n\r\n" + hex("GO") + "\r\n",    // another text
      hex("select 1") + "\r\n\r\n" + hex("GO") + "00\r\n",  // digits beyond the blocks
      changed,                                              // one digit of the first line
      lower,                                                // lower-case digits
  };
  for (const std::string& encrypted : bad)
    EXPECT_FALSE(VerifyEncryptedScript(plain, encrypted).Ok()) << encrypted;
}

}  // namespace
