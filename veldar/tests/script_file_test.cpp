// Reading scripts into lines and converting a plain script into its encrypted form.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Des/ScriptFile.h"
#include "des_reference.h"
#include "scratch_folder.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>

#include <csignal>
#endif

namespace {

using Lines = std::vector<std::string>;

TEST(JoinLines, EndsEveryLineWithCrLf) {
  EXPECT_EQ("", JoinLines({}));
  EXPECT_EQ("\r\n", JoinLines({""}));
  EXPECT_EQ("a\r\n\r\nb\r\n", JoinLines({"a", "", "b"}));
}

// a.sql converted into a.sqe in the scratch folder.
class ScriptConversion : public ScratchFolder {
 protected:
  ScriptConversion() { des_.SetKey(kScriptKey); }
  std::string Plain() const { return PathOf("a.sql"); }
  std::string Encrypted() const { return PathOf("a.sqe"); }
  ConversionResult Convert() { return EncryptScriptFile(des_, Plain(), Encrypted()); }
  // A failed write names a.sqe with a reason and leaves a.sqe of an earlier run as it was.
  void ExpectEarlierOutputKept(const ConversionResult& result, int line) {
    ::testing::ScopedTrace trace(__FILE__, line, "earlier output kept");
    EXPECT_EQ(ConversionResult::Failure::Write, result.failure);
    EXPECT_EQ(Encrypted(), result.detail.file);
    EXPECT_FALSE(result.detail.reason.empty());
    EXPECT_EQ("previous\r\n", ReadBytes(Encrypted()));
    EXPECT_EQ((std::set<std::string>{"a.sql", "a.sqe"}), Contents());
  }

  TEncryption des_;
};

TEST_F(ScriptConversion, EnciphersEveryNonEmptyLineAndKeepsEmptyLines) {
  WriteBytes(Plain(), "-- comment\r\n\r\nCREATE TABLE t (a INT)\nGO\r\rselect '\xd6\xd0'\r\n--^C a.dll\n \n");
  des_.SetAction(TActionType::Decryption);

  const ConversionResult result = Convert();

  ASSERT_TRUE(result.Ok()) << result.detail.file << ": " << result.detail.reason;
  EXPECT_EQ(JoinLines(EncipheredLines({"-- comment", "", "CREATE TABLE t (a INT)", "GO", "",
                                       "select '\xd6\xd0'", "--^C a.dll", " "})),
            ReadBytes(Encrypted()));
  EXPECT_EQ(TActionType::Encryption, des_.Action());
  EXPECT_EQ("meadows", des_.Key());
  EXPECT_EQ((std::set<std::string>{"a.sql", "a.sqe"}), Contents());
}

TEST_F(ScriptConversion, LinesDecipherBackToThePlainScript) {
  const Lines lines = {"CREATE TABLE Part (Id INT)", "", "GO", "x", "12345678", "--LANTHORN--", "\t"};
  WriteBytes(Plain(), JoinLines(lines));
  ASSERT_TRUE(Convert().Ok());

  Lines back;
  FileFailure failure;
  ASSERT_TRUE(ReadLines(Encrypted(), back, failure)) << failure.reason;
  ASSERT_EQ(lines.size(), back.size());
  TEncryption reader;
  reader.SetKey(kScriptKey);
  reader.SetAction(TActionType::Decryption);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (back[i].empty()) {
      EXPECT_EQ("", lines[i]) << "line " << i;
      continue;
    }
    EXPECT_EQ(16 * ((lines[i].size() + 7) / 8), back[i].size()) << "line " << i;
    reader.SetHexInput(back[i]);
    reader.Execute();
    std::string line = reader.Output();
    while (!line.empty() && line.back() == '\0') line.pop_back();
    EXPECT_EQ(lines[i], line) << "line " << i;
  }
}

TEST_F(ScriptConversion, EmptyScriptGivesEmptyFile) {
  WriteBytes(Plain(), "");
  WriteBytes(Encrypted(), "old content\r\n");
  ASSERT_TRUE(Convert().Ok());
  EXPECT_EQ("", ReadBytes(Encrypted()));
}

TEST_F(ScriptConversion, SameFileIsEncipheredAgainInPlace) {
  WriteBytes(Encrypted(), "GO\r\n\r\nselect 1");
  ASSERT_TRUE(EncryptScriptFile(des_, Encrypted(), Encrypted()).Ok());
  const Lines once = EncipheredLines({"GO", "", "select 1"});
  EXPECT_EQ(JoinLines(once), ReadBytes(Encrypted()));
  ASSERT_TRUE(EncryptScriptFile(des_, Encrypted(), Encrypted()).Ok());
  EXPECT_EQ(JoinLines(EncipheredLines(once)), ReadBytes(Encrypted()));
  EXPECT_EQ(std::set<std::string>{"a.sqe"}, Contents());
}

TEST_F(ScriptConversion, UnreadableInputIsReportedAndWritesNothing) {
  const ConversionResult result = Convert();
  EXPECT_EQ(ConversionResult::Failure::Read, result.failure);
  EXPECT_EQ(Plain(), result.detail.file);
  EXPECT_FALSE(result.detail.reason.empty());
  EXPECT_TRUE(Contents().empty());

  // A folder is no script either.
  std::filesystem::create_directory(Plain());
  EXPECT_EQ(ConversionResult::Failure::Read, Convert().failure);
  EXPECT_EQ(std::set<std::string>{"a.sql"}, Contents());
}

TEST_F(ScriptConversion, UnwritableOutputIsReportedAndLeavesNoFile) {
  WriteBytes(Plain(), "select 1\r\n");
  const std::string inMissingFolder = PathOf("no such folder/a.sqe");
  ConversionResult result = EncryptScriptFile(des_, Plain(), inMissingFolder);
  EXPECT_EQ(ConversionResult::Failure::Write, result.failure);
  EXPECT_EQ(inMissingFolder, result.detail.file);
  EXPECT_FALSE(result.detail.reason.empty());

  // A folder in the way of the output is left as it was.
  std::filesystem::create_directory(Encrypted());
  WriteBytes(PathOf("a.sqe/keep"), "kept");
  EXPECT_EQ(ConversionResult::Failure::Write, Convert().failure);
  EXPECT_EQ("kept", ReadBytes(PathOf("a.sqe/keep")));
  EXPECT_EQ((std::set<std::string>{"a.sql", "a.sqe"}), Contents());
}

#ifdef _WIN32

TEST_F(ScriptConversion, ReadOnlyOutputStaysIntact) {
  WriteBytes(Plain(), "select 1\r\n");
  WriteBytes(Encrypted(), "previous\r\n");
  ASSERT_TRUE(SetFileAttributesA(Encrypted().c_str(), FILE_ATTRIBUTE_READONLY));
  const ConversionResult result = Convert();
  SetFileAttributesA(Encrypted().c_str(), FILE_ATTRIBUTE_NORMAL);
  ExpectEarlierOutputKept(result, __LINE__);
}

TEST_F(ScriptConversion, OutputHeldOpenByAnotherProgramStaysIntact) {
  WriteBytes(Plain(), "select 1\r\n");
  WriteBytes(Encrypted(), "previous\r\n");
  HANDLE held = CreateFileA(Encrypted().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  const ConversionResult result = Convert();
  CloseHandle(held);
  ExpectEarlierOutputKept(result, __LINE__);
}

#else

TEST_F(ScriptConversion, FailureWhileWritingKeepsTheOldFile) {
  WriteBytes(Plain(), JoinLines(Lines(2000, "INSERT INTO t VALUES (1)")));
  WriteBytes(Encrypted(), "previous\r\n");
  // A file size limit makes the write fail part way, as a full disk would.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &old));
  rlimit limited = old;
  limited.rlim_cur = 4096;
  ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &limited));
  const ConversionResult result = Convert();
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, SIG_DFL);
  ExpectEarlierOutputKept(result, __LINE__);
}

#endif

}  // namespace
