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

using Kind = FileFailure::Kind;
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
  bool Convert(const std::string& from, const std::string& to) {
    return EncryptScriptFile(des_, from, to, lines_, failure_);
  }
  bool Convert() { return Convert(Plain(), Encrypted()); }
  // A failed write names a.sqe and leaves a.sqe of an earlier run as it was.
  void ExpectEarlierOutputKept(bool converted, test_support::Caller caller = {}) {
    test_support::CallerTrace trace(caller);
    ExpectFileFailure(converted, failure_, Kind::Write, Encrypted());
    EXPECT_EQ("previous\r\n", ReadBytes(Encrypted()));
    EXPECT_EQ((std::set<std::string>{"a.sql", "a.sqe"}), Contents());
  }

  TEncryption des_;
  std::size_t lines_ = 0;
  FileFailure failure_;
};

TEST_F(ScriptConversion, EnciphersEveryNonEmptyLineAndKeepsEmptyLines) {
  WriteBytes(Plain(), "-- comment\r\n\r\nCREATE TABLE t (a INT)\nGO\r\rselect '\xd6\xd0'\r\n--^C a.dll\n \n");
  des_.SetAction(TActionType::Decryption);

  ASSERT_TRUE(Convert()) << failure_.file << ": " << failure_.reason;
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
  ASSERT_TRUE(Convert());

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
  ASSERT_TRUE(Convert());
  EXPECT_EQ("", ReadBytes(Encrypted()));
}

TEST_F(ScriptConversion, SameFileIsEncipheredAgainInPlace) {
  WriteBytes(Encrypted(), "GO\r\n\r\nselect 1");
  ASSERT_TRUE(Convert(Encrypted(), Encrypted()));
  const Lines once = EncipheredLines({"GO", "", "select 1"});
  EXPECT_EQ(JoinLines(once), ReadBytes(Encrypted()));
  ASSERT_TRUE(Convert(Encrypted(), Encrypted()));
  EXPECT_EQ(JoinLines(EncipheredLines(once)), ReadBytes(Encrypted()));
  EXPECT_EQ(std::set<std::string>{"a.sqe"}, Contents());
}

TEST_F(ScriptConversion, UnreadableInputIsReportedAndWritesNothing) {
  ExpectFileFailure(Convert(), failure_, Kind::Read, Plain());
  EXPECT_TRUE(Contents().empty());

  // A folder is no script either.
  std::filesystem::create_directory(Plain());
  ExpectFileFailure(Convert(), failure_, Kind::Read, Plain());
  EXPECT_EQ(std::set<std::string>{"a.sql"}, Contents());
}

TEST_F(ScriptConversion, UnwritableOutputIsReportedAndLeavesNoFile) {
  WriteBytes(Plain(), "select 1\r\n");
  const std::string inMissingFolder = PathOf("no such folder/a.sqe");
  ExpectFileFailure(Convert(Plain(), inMissingFolder), failure_, Kind::Write, inMissingFolder);

  // A folder in the way of the output is left as it was.
  std::filesystem::create_directory(Encrypted());
  WriteBytes(PathOf("a.sqe/keep"), "kept");
  ExpectFileFailure(Convert(), failure_, Kind::Write, Encrypted());
  EXPECT_EQ("kept", ReadBytes(PathOf("a.sqe/keep")));
  EXPECT_EQ((std::set<std::string>{"a.sql", "a.sqe"}), Contents());
}

#ifdef _WIN32

TEST_F(ScriptConversion, ReadOnlyOutputStaysIntact) {
  WriteBytes(Plain(), "select 1\r\n");
  WriteBytes(Encrypted(), "previous\r\n");
  ASSERT_TRUE(SetFileAttributesA(Encrypted().c_str(), FILE_ATTRIBUTE_READONLY));
  const bool converted = Convert();
  SetFileAttributesA(Encrypted().c_str(), FILE_ATTRIBUTE_NORMAL);
  ExpectEarlierOutputKept(converted);
}

TEST_F(ScriptConversion, OutputHeldOpenByAnotherProgramStaysIntact) {
  WriteBytes(Plain(), "select 1\r\n");
  WriteBytes(Encrypted(), "previous\r\n");
  HANDLE held = CreateFileA(Encrypted().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  const bool converted = Convert();
  CloseHandle(held);
  ExpectEarlierOutputKept(converted);
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
  const bool converted = Convert();
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, SIG_DFL);
  ExpectEarlierOutputKept(converted);
}

#endif

}  // namespace
