// Language files with the section reader's traps, checked against a few texts: entries,
// lines never found as written and why, what stays untranslated; and the own resources.
#include <gtest/gtest.h>

#include <set>

#ifdef _WIN32
#include <windows.h>
#endif

#include "language/LanguageResources.h"
#include "test_files.h"
#include "tests/language_support.h"
#include "tests/scoped_gbk_table.h"
#include "tools/CodePage.h"
#include "tools/LanguageCheck.h"
#include "tools/OwnResources.h"

namespace {

const std::string kOk = "\xc8\xb7\xb6\xa8";  // "确定" in the code page 936

ProgramText Text(const char* source, const std::string& text, const char* section) {
  return {source, text,
          uninstall_test::Key(text, section, section ? TranslationCategory::Dialog : TranslationCategory::Message),
          false};
}

const ProgramTexts kTexts = {{Text("message", "Uninstall", nullptr), Text("button", kOk, "TESTDLG")}, {}};
const std::string kMessage = kTexts.texts[0].key;
const std::string kButton = kTexts.texts[1].key;

std::string Entry(const std::string& key, const std::string& text) {
  return key + "=\"" + text + "\"\r\n";
}

// "E3" an entry on line 3, "duplicate@3" a finding by the first word that tells it
// apart, "U1" one text untranslated, "P1" one problem with the whole file.
std::string Outline(const LanguageReport& report) {
  static const std::pair<const char*, const char*> kTags[] = {
      {"an entry on the marker", "marker"}, {"the key is also", "duplicate"}, {"a lookup of its key finds line", "shadowed"},
      {"no closing", "closing-quote"},     {"\"\\", "escape"},                 {"a key of", "length"},
      {"a key with capital", "capitals"},  {"blanks before", "blank"},       {"no double quote after", "opening-quote"},
      {"no text of the program", "unused"}, {"begins with the key", "taken"}};
  std::string outline;
  for (const LanguageEntry& entry : report.entries) outline += "E" + std::to_string(entry.line) + " ";
  for (const LanguageFinding& finding : report.unreachable) {
    std::string tag = "?" + finding.reason;
    for (const auto& known : kTags)
      if (finding.reason.rfind(known.first, 0) == 0) tag = known.second;
    outline += tag + "@" + std::to_string(finding.line) + " ";
  }
  return outline + "U" + std::to_string(report.untranslated.size()) + " P" + std::to_string(report.problems.size());
}

struct LanguageCase {
  const char* name;
  std::string file;
  const char* outline;
};

const std::string kMarker = "***messages**\r\n";

const LanguageCase kCases[] = {
    {"every text translated", "; header\n" + kMarker + Entry(kMessage, "U") + Entry(kButton, "OK"), "E3 E4 U0 P0"},
    {"the last offset searched", std::string(130816, ' ') + kMarker + Entry(kMessage, "U"), "E2 U1 P0"},
    {"a marker one byte further", std::string(130817, ' ') + kMarker + Entry(kMessage, "U"), "U2 P1"},
    {"no marker", Entry(kMessage, "U"), "U2 P1"},
    {"an entry on the marker's line", "***messages** " + Entry(kMessage, "U"), "marker@1 U2 P0"},
    {"duplicates and lines found in an entry's place", kMarker + Entry(kMessage, "a") + Entry(kMessage, "b") +
         kButton + " is the OK button\r\n" + "00000002 note\r\n" + Entry("00000002", "x"),
     "E2 E3 E6 duplicate@2 duplicate@3 taken@4 shadowed@6 unused@6 U0 P0"},
    {"quotes and escapes", kMarker + Entry(kMessage, "say \\\"hi\\\"\\n") + kButton + "=\"OK \\\"\r\n" +
         "00000000=\"no end\r\n" + "00000001=\"a \\q b\"\r\n",
     "E2 E3 E4 E5 closing-quote@3 closing-quote@4 unused@4 escape@5 unused@5 U0 P0"},
    {"keys that never match", kMarker + kButton + "0=\"x\"\r\n" + " " + Entry(kMessage, "x") + "ABCDEF01=\"x\"\r\n" +
         kMessage.substr(1) + "=\"x\"\r\n" + kMessage + "=x\"\r\n",
     "length@2 taken@2 blank@3 capitals@4 length@5 opening-quote@6 taken@6 U0 P0"},
    {"a zero byte ends the section", kMarker + Entry(kMessage, "U") + std::string("x\0\r\n", 4) + Entry(kButton, "OK"),
     "E2 U1 P1"},
    {"the section ends 65536 bytes after the marker", kMarker + Entry(kMessage, "U") + std::string(65536, ';') +
         "\r\n" + Entry(kButton, "OK"),
     "E2 U1 P1"},
    {"lines end at CR, LF and CR LF alike", "a\rb\n" + kMarker + "\n\r" + Entry(kMessage, "U") + "\r" + Entry(kButton, "OK"),
     "E6 E8 U0 P0"},
};

class LanguageTableTest : public testing::TestWithParam<LanguageCase> {
 private:
  ScopedGbkTable gbk_;
};

TEST_P(LanguageTableTest, EntriesFindingsAndUntranslated) {
  EXPECT_EQ(GetParam().outline, Outline(CheckLanguageFile(GetParam().file, kTexts)));
}

INSTANTIATE_TEST_SUITE_P(Files, LanguageTableTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<LanguageCase>& info) { return "case" + std::to_string(info.index); });

TEST(LanguageCheckTest, EntryTextsAreWhatALookupGives) {
  const LanguageReport report = CheckLanguageFile(kMarker + Entry(kMessage, "say \\\"hi\\\"\\tnow") + "\r\n", kTexts);
  ASSERT_EQ(1u, report.entries.size());
  EXPECT_EQ("say \"hi\"\tnow", report.entries[0].text);
  EXPECT_EQ("message", report.entries[0].usedBy);
}

// The reason given is how far the program's own search went.
TEST(LanguageCheckTest, AMarkerTheSearchMissesIsExplained) {
  const std::string kTail = ", less than 16 bytes before the end of the file: the program tests an offset only with "
                            "that many bytes after it (here up to offset ";
  const std::pair<std::string, std::string> kMissed[] = {
      {kMarker, "offset 0, but the file has fewer than 16 bytes, too few for the program to search"},
      {"preamble\r\n***messages**", "offset 10" + kTail + "7)"},
      {std::string(8200, ' ') + "***messages**", "offset 8200" + kTail + "8197)"},
      {std::string(130817, ' ') + kMarker, "offset 130817, after the last offset the program searches (130816)"}};
  for (const auto& missed : kMissed) {
    const LanguageReport report = CheckLanguageFile(missed.first, kTexts);
    ASSERT_EQ(1u, report.problems.size());
    EXPECT_NE(std::string::npos, report.problems[0].find(missed.second)) << report.problems[0];
  }
}

TEST(LanguageCheckTest, TheProgramsOwnTextsInTheCodePage936) {
  ScopedGbkTable gbk;
  std::vector<Resource> own;
  ASSERT_TRUE(ReadResourceFile(std::string(reinterpret_cast<const char*>(kOwnResources), kOwnResourcesSize), own));
  const ProgramTexts texts = CollectProgramTexts(own, nullptr);
  // Every message of the string table, every caption and control text of every dialog,
  // a scale entry per dialog and the reading direction: each once, and nothing else.
  std::multiset<std::string> sources = {"reading direction"}, collected;
  for (const auto& string : ReadStringTable(own)) sources.insert("message " + std::to_string(string.first));
  for (const std::string& name : DialogNames(own)) {
    DialogTexts dialog;
    ASSERT_TRUE(ReadDialogTexts(FindDialog(own, name)->data, dialog)) << name;
    sources.insert(name + " scale");
    if (!dialog.caption.empty()) sources.insert(name + " caption");
    for (const auto& control : dialog.controls)
      sources.insert(name + " control " + std::to_string(control.first));
  }
  EXPECT_LT(10u, ReadStringTable(own).size());
  for (const ProgramText& text : texts.texts) collected.insert(text.source);
  EXPECT_EQ(sources, collected);
  const ProgramText expected = Text("SETUPDLG control 1", kOk, "SETUPDLG");
  bool found = false;
  for (const ProgramText& text : texts.texts)
    found = found || (text.source == expected.source && text.text == kOk && text.key == expected.key);
  EXPECT_TRUE(found);
  EXPECT_TRUE(texts.problems.empty());
}

#ifdef _WIN32
// The test program carries the uninstall's resource script: the reader finds in its image
// what the system's loader gives, and what the embedded .res holds.
TEST(LanguageCheckTest, TheImageReadsAsTheSystemLoadsIt) {
  char path[MAX_PATH];
  ASSERT_NE(0u, GetModuleFileNameA(nullptr, path, sizeof path));
  const std::string image = test_support::ReadFileBytes(path);
  std::vector<Resource> fromImage, fromRes;
  ASSERT_TRUE(ReadImageResources(image, fromImage));
  ASSERT_TRUE(ReadResourceFile(std::string(reinterpret_cast<const char*>(kOwnResources), kOwnResourcesSize), fromRes));

  const std::map<int, std::u16string> strings = ReadStringTable(fromImage);
  ASSERT_EQ(ReadStringTable(fromRes), strings);
  for (const auto& string : strings) {
    char loaded[256] = {};
    LoadStringA(nullptr, string.first, loaded, sizeof loaded);
    EXPECT_EQ(loaded, Utf16ToCodePage936(string.second)) << string.first;
  }
  for (const std::string& name : DialogNames(fromRes)) {
    DialogTexts a, b;
    ASSERT_NE(nullptr, FindDialog(fromImage, name)) << name;
    ASSERT_TRUE(ReadDialogTexts(FindDialog(fromRes, name)->data, a));
    ASSERT_TRUE(ReadDialogTexts(FindDialog(fromImage, name)->data, b));
    EXPECT_EQ(a.caption, b.caption);
    EXPECT_EQ(a.controls, b.controls);
  }
}
#endif

}  // namespace
