// The text of the self-removal batch file, byte for byte. Runs natively and under Wine.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "base/WholeFile.h"
#include "remove/BatchFile.h"
#include "test_files.h"
#include "tests/scoped_gbk_table.h"

namespace {

const char kProgram[] = "C:\\Program Files\\Zendra\\uninstall.exe";
const char kFolder[] = "C:\\Program Files\\Zendra";
const char kBatch[] = "C:\\TEMP\\Uninstall_Kzp.Bat";

std::string Compose(const char* program, const char* folder, const char* batch, bool ntFamily) {
  std::string text = "<untouched>";
  if (!ComposeBatchFile(program, folder, batch, ntFamily, &text)) return "<failed>";
  return text;
}

std::string Blocks(const std::string& program, const std::string& folder) {
  std::string block =
      "del \"" + program + "\"\r\nrd \"" + folder + "\"\r\nif not exist \"" + program + "\" goto done\r\n";
  return block + block + block + block + block;
}

TEST(BatchFile, NtFamilyStartsTheProgramDirectlyAndTheLastLineHasNoLineEnd) {
  std::string expected = "\"C:\\Program Files\\Zendra\\uninstall.exe\" /wait\r\n" +
                         Blocks(kProgram, kFolder) +
                         ":done\r\n"
                         "if exist \"C:\\Program Files\\Zendra\\uninstall.exe\" "
                         "\"C:\\Program Files\\Zendra\\uninstall.exe\" /warning\r\n"
                         "del \"C:\\TEMP\\Uninstall_Kzp.Bat\"";
  EXPECT_EQ(expected, Compose(kProgram, kFolder, kBatch, true));
}

TEST(BatchFile, OtherPlatformsWaitThroughStart) {
  std::string nt = Compose(kProgram, kFolder, kBatch, true);
  std::string other = Compose(kProgram, kFolder, kBatch, false);
  EXPECT_EQ("start /wait " + nt, other);
  EXPECT_EQ(0u, other.find("start /wait \"C:\\Program Files\\Zendra\\uninstall.exe\" /wait\r\ndel "));
}

TEST(BatchFile, AtTheRootOfADriveTheFolderIsTheRoot) {
  std::string text = Compose("R:\\uninstall.exe", "R:\\", kBatch, true);
  EXPECT_NE(std::string::npos, text.find("\r\nrd \"R:\\\"\r\n"));
}

TEST(BatchFile, PercentSignsAreDoubledInEveryPath) {
  std::string text =
      Compose("C:\\100%Tools%\\uninstall.exe", "C:\\100%Tools%", "C:\\T%TEMP%\\Uninstall_Kzp.Bat", true);
  EXPECT_EQ(0u, text.find("\"C:\\100%%Tools%%\\uninstall.exe\" /wait\r\n"));
  EXPECT_NE(std::string::npos, text.find("\r\nrd \"C:\\100%%Tools%%\"\r\n"));
  EXPECT_NE(std::string::npos, text.find("\r\ndel \"C:\\T%%TEMP%%\\Uninstall_Kzp.Bat\""));
  // Every "%" in the text is doubled: none stands alone.
  for (size_t i = text.find('%'); i != std::string::npos; i = text.find('%', i + 2))
    EXPECT_EQ('%', text[i + 1]) << "at " << i;
}

TEST(BatchFile, DoublePercentSignsRefusesWhatDoesNotFit) {
  char result[8];
  EXPECT_TRUE(DoublePercentSigns("a%b%c", result, sizeof result));
  EXPECT_STREQ("a%%b%%c", result);
  EXPECT_FALSE(DoublePercentSigns("a%b%cd", result, sizeof result));
  EXPECT_FALSE(DoublePercentSigns("abcdef%", result, sizeof result));
  EXPECT_TRUE(DoublePercentSigns("abcdefg", result, sizeof result));
  EXPECT_FALSE(DoublePercentSigns("abcdefgh", result, sizeof result));

  // A double-byte character is copied whole.
  ScopedGbkTable gbk;
  EXPECT_TRUE(DoublePercentSigns("\x81\x5c%", result, sizeof result));
  EXPECT_STREQ("\x81\x5c%%", result);
}

TEST(BatchFile, ABatchWithAPathThatDoesNotFitIsNotMade) {
  // Each block names the program twice and the folder once in 1024 characters.
  std::string folder = "C:\\" + std::string(300, 'z');
  std::string fits = folder + "\\" + std::string(20, 'u') + ".exe";
  EXPECT_NE("<failed>", Compose(fits.c_str(), folder.c_str(), kBatch, true));
  std::string tooLong = folder + "\\" + std::string(360, 'u') + ".exe";
  EXPECT_EQ("<failed>", Compose(tooLong.c_str(), folder.c_str(), kBatch, true));
  // Doubling the "%" can push a path past its buffer.
  std::string percents = "C:\\" + std::string(600, '%');
  EXPECT_EQ("<failed>", Compose(kProgram, percents.c_str(), kBatch, true));
}

TEST(BatchFile, IsWrittenInBinaryModeExactly) {
  std::string text = Compose(kProgram, kFolder, kBatch, true);
  char path[] = "batch-file-test.bat";
  ASSERT_TRUE(WriteWholeFile(path, "stale text that is longer than the new one, to be replaced" + text));
  ASSERT_TRUE(WriteWholeFile(path, text));
  std::string read;
  EXPECT_TRUE(ReadWholeFile(path, &read));
  EXPECT_EQ(text, read);
  remove(path);
  EXPECT_FALSE(WriteWholeFile("no-such-folder/x.bat", text));
  EXPECT_FALSE(ReadWholeFile(path, &read));
}

}  // namespace
