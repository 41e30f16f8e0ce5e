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

class ScriptConversion : public ScratchFolder {
 protected:
  ScriptConversion() { des_.SetKey(kScriptKey); }
  TEncryption des_;
};

TEST_F(ScriptConversion, EnciphersEveryNonEmptyLineAndKeepsEmptyLines) {
  const std::string plain = PathOf("SETUP.SQL"), encrypted = PathOf("SETUP.SQE");
  WriteBytes(plain, "-- comment\r\n\r\nCREATE TABLE t (a INT)\nGO\r\rselect '\xd6\xd0'\r\n--^C a.dll\n \n");
  des_.SetAction(TActionType::Decryption);

  const ConversionResult result = EncryptScriptFile(des_, plain, encrypted);

  ASSERT_TRUE(result.Ok()) << result.detail.file << ": " << result.detail.reason;
  EXPECT_EQ(JoinLines(EncipheredLines({"-- comment", "", "CREATE TABLE t (a INT)", "GO", "",
                                       "select '\xd6\xd0'", "--^C a.dll", " "})),
            ReadBytes(encrypted));
  EXPECT_EQ(TActionType::Encryption, des_.Action());
  EXPECT_EQ("meadows", des_.Key());
  EXPECT_EQ((std::set<std::string>{"SETUP.SQL", "SETUP.SQE"}), Contents());
}

TEST_F(ScriptConversion, LinesDecipherBackToThePlainScript) {
  const std::string plain = PathOf("a.sql"), encrypted = PathOf("a.sqe");
  const Lines lines = {"CREATE TABLE Part (Id INT)", "", "GO", "x", "12345678", "--LANTHORN--", "\t"};
  WriteBytes(plain, JoinLines(lines));
  ASSERT_TRUE(EncryptScriptFile(des_, plain, encrypted).Ok());

  Lines back;
  FileFailure failure;
  ASSERT_TRUE(ReadLines(encrypted, back, failure)) << failure.reason;
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
  const std::string plain = PathOf("empty.sql"), encrypted = PathOf("empty.sqe");
  WriteBytes(plain, "");
  WriteBytes(encrypted, "old content\r\n");
  ASSERT_TRUE(EncryptScriptFile(des_, plain, encrypted).Ok());
  EXPECT_EQ("", ReadBytes(encrypted));
}

TEST_F(ScriptConversion, SameFileIsEncipheredAgainInPlace) {
  const std::string file = PathOf("SETUP.SQE");
  WriteBytes(file, "GO\r\n\r\nselect 1");
  ASSERT_TRUE(EncryptScriptFile(des_, file, file).Ok());
  const Lines once = EncipheredLines({"GO", "", "select 1"});
  EXPECT_EQ(JoinLines(once), ReadBytes(file));
  ASSERT_TRUE(EncryptScriptFile(des_, file, file).Ok());
  EXPECT_EQ(JoinLines(EncipheredLines(once)), ReadBytes(file));
  EXPECT_EQ(std::set<std::string>{"SETUP.SQE"}, Contents());
}

TEST_F(ScriptConversion, UnreadableInputIsReportedAndWritesNothing) {
  const std::string plain = PathOf("missing.sql"), encrypted = PathOf("out.sqe");
  const ConversionResult result = EncryptScriptFile(des_, plain, encrypted);
  EXPECT_EQ(ConversionResult::Failure::Read, result.failure);
  EXPECT_EQ(plain, result.detail.file);
  EXPECT_FALSE(result.detail.reason.empty());
  EXPECT_TRUE(Contents().empty());

  // A folder is no script either.
  std::filesystem::create_directory(PathOf("folder.sql"));
  EXPECT_EQ(ConversionResult::Failure::Read,
            EncryptScriptFile(des_, PathOf("folder.sql"), encrypted).failure);
  EXPECT_EQ(std::set<std::string>{"folder.sql"}, Contents());
}

TEST_F(ScriptConversion, UnwritableOutputIsReportedAndLeavesNoFile) {
  const std::string plain = PathOf("a.sql");
  WriteBytes(plain, "select 1\r\n");
  const std::string inMissingFolder = PathOf("no such folder/a.sqe");
  ConversionResult result = EncryptScriptFile(des_, plain, inMissingFolder);
  EXPECT_EQ(ConversionResult::Failure::Write, result.failure);
  EXPECT_EQ(inMissingFolder, result.detail.file);
  EXPECT_FALSE(result.detail.reason.empty());

  // A folder in the way of the output is left as it was.
  std::filesystem::create_directory(PathOf("a.sqe"));
  WriteBytes(PathOf("a.sqe/keep"), "kept");
  result = EncryptScriptFile(des_, plain, PathOf("a.sqe"));
  EXPECT_EQ(ConversionResult::Failure::Write, result.failure);
  EXPECT_EQ("kept", ReadBytes(PathOf("a.sqe/keep")));
  EXPECT_EQ((std::set<std::string>{"a.sql", "a.sqe"}), Contents());
}

#ifdef _WIN32

TEST_F(ScriptConversion, ReadOnlyOutputStaysIntact) {
  const std::string plain = PathOf("a.sql"), encrypted = PathOf("a.sqe");
  WriteBytes(plain, "select 1\r\n");
  WriteBytes(encrypted, "previous\r\n");
  ASSERT_TRUE(SetFileAttributesA(encrypted.c_str(), FILE_ATTRIBUTE_READONLY));
  const ConversionResult result = EncryptScriptFile(des_, plain, encrypted);
  SetFileAttributesA(encrypted.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ConversionResult::Failure::Write, result.failure);
  EXPECT_FALSE(result.detail.reason.empty());
  EXPECT_EQ("previous\r\n", ReadBytes(encrypted));
  EXPECT_EQ((std::set<std::string>{"a.sql", "a.sqe"}), Contents());
}

TEST_F(ScriptConversion, OutputHeldOpenByAnotherProgramStaysIntact) {
  const std::string plain = PathOf("a.sql"), encrypted = PathOf("a.sqe");
  WriteBytes(plain, "select 1\r\n");
  WriteBytes(encrypted, "previous\r\n");
  HANDLE held = CreateFileA(encrypted.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  const ConversionResult result = EncryptScriptFile(des_, plain, encrypted);
  CloseHandle(held);
  EXPECT_EQ(ConversionResult::Failure::Write, result.failure);
  EXPECT_EQ("previous\r\n", ReadBytes(encrypted));
  EXPECT_EQ((std::set<std::string>{"a.sql", "a.sqe"}), Contents());
}

#else

TEST_F(ScriptConversion, FailureWhileWritingKeepsTheOldFile) {
  const std::string plain = PathOf("big.sql"), encrypted = PathOf("big.sqe");
  WriteBytes(plain, JoinLines(Lines(2000, "INSERT INTO t VALUES (1)")));
  WriteBytes(encrypted, "previous\r\n");
  // A file size limit makes the write fail part way, as a full disk would.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &old));
  rlimit limited = old;
  limited.rlim_cur = 4096;
  ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &limited));
  const ConversionResult result = EncryptScriptFile(des_, plain, encrypted);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, SIG_DFL);

  EXPECT_EQ(ConversionResult::Failure::Write, result.failure);
  EXPECT_EQ(encrypted, result.detail.file);
  EXPECT_FALSE(result.detail.reason.empty());
  EXPECT_EQ("previous\r\n", ReadBytes(encrypted));
  EXPECT_EQ((std::set<std::string>{"big.sql", "big.sqe"}), Contents());
}

#endif

}  // namespace
