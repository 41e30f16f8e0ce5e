// The text of the self-removal batch file, byte for byte. Runs natively and under Wine.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "base/WholeFile.h"
#include "remove/BatchFile.h"
#include "test_files.h"
#include "tests/oem_tables.h"
#include "tests/scoped_gbk_table.h"

namespace {

const char kProgram[] = "C:\\Program Files\\Zendra\\uninstall.exe";
const char kFolder[] = "C:\\Program Files\\Zendra";
const char kBatch[] = "C:\\TEMP\\Kzp0A1B2\\Uninstall_Kzp.Bat";
const char kBatchFolder[] = "C:\\TEMP\\Kzp0A1B2";

std::string Compose(const char* program, const char* folder, const char* batch, bool ntFamily,
                    const char* batchFolder = kBatchFolder, const OemConversion& oem = SameCodePage()) {
  std::string text = "<untouched>";
  if (!ComposeBatchFile({program, folder, batch, batchFolder}, ntFamily, oem, &text)) return "<failed>";
  return text;
}

std::string Compose(const std::string (&paths)[4], const OemConversion& oem) {
  return Compose(paths[0].c_str(), paths[1].c_str(), paths[2].c_str(), true, paths[3].c_str(), oem);
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
                         "del \"C:\\TEMP\\Kzp0A1B2\\Uninstall_Kzp.Bat\" & rd \"C:\\TEMP\\Kzp0A1B2\"";
  EXPECT_EQ(expected, Compose(kProgram, kFolder, kBatch, true));
  // Without a folder of its own (Windows 95, 98 and ME) the batch deletes only itself.
  EXPECT_EQ(expected.substr(0, expected.rfind(" & rd ")), Compose(kProgram, kFolder, kBatch, true, ""));
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
      Compose("C:\\100%Tools%\\uninstall.exe", "C:\\100%Tools%", "C:\\T%TEMP%\\Uninstall_Kzp.Bat", true, "");
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

// The interpreter reads the batch in the OEM code page: every path is written there, and one without an
// exact form there, or with a character that "del" or the quotes would read otherwise, makes no batch.
TEST(BatchFile, PathsAreWrittenInTheOemCodePageAndOnesWithoutAnOemFormAreRefused) {
  // "Программы" and "Пётр" in each code page.
  const std::string programs[] = {"\xCF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB",
                                  "\x8F\xE0\xAE\xA3\xE0\xA0\xAC\xAC\xEB"};
  const std::string peter[] = {"\xCF\xB8\xF2\xF0", "\x8F\xF1\xE2\xE0"};
  std::string ansi[4], oem[4];
  for (std::string* paths : {ansi, oem}) {
    const int page = paths == oem;
    paths[1] = "C:\\" + programs[page] + "\\Zendra";
    paths[0] = paths[1] + "\\uninstall.exe";
    paths[3] = "C:\\Users\\" + peter[page] + "\\Temp\\Kzp0A1B2";
    paths[2] = paths[3] + "\\Uninstall_Kzp.Bat";
  }
  const std::string text = Compose(ansi, Cyrillic1251To866());
  EXPECT_EQ(Compose(oem, SameCodePage()), text);
  // "«" (0xAB in 1251) has no place in 866.
  for (const char* bad : {"\xAB", "?", "*", "<", ">", "\""})
    for (std::string& path : ansi) {
      path += bad;
      EXPECT_EQ("<failed>", Compose(ansi, Cyrillic1251To866())) << path;
      path.pop_back();
    }
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
