// The language file's section: marker search, escapes, line index, lookups and keys.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "language/Crc32.h"
#include "language/DialogScale.h"
#include "language/LanguageResources.h"
#include "tests/language_support.h"
#include "tests/memory_source.h"
#include "tests/scoped_gbk_table.h"

using namespace uninstall_test;

namespace {

const std::string kMarker = "***messages**";

bool Load(LanguageResources& language, const std::string& file) {
  MemorySource source(file);
  return language.LoadFrom(source);
}

// A fresh language object for each test, and its lookups.
class LanguageSection : public ::testing::Test {
 protected:
  // Loads a file of the marker line and `entries`.
  bool LoadSection(const std::string& entries) { return Load(language_, kMarker + "\n" + entries); }
  // The translation into a buffer of `capacity`, which must not be written past.
  std::string Translate(const std::string& text, const char* section = nullptr,
                        TranslationCategory category = TranslationCategory::Message, int capacity = 1024) {
    std::string output(capacity + 8, '\x55');
    language_.Translate(text.c_str(), &output[0], capacity, section, category);
    for (int i = capacity; i < capacity + 8; ++i) EXPECT_EQ('\x55', output[i]) << "written past the buffer";
    return output.c_str();
  }

  LanguageResources language_;
};

TEST(Crc32Keys, KnownTexts) {
  EXPECT_EQ(0xCBF43926u, Crc32Text(0, "123456789"));
  EXPECT_EQ(0x414FA339u, Crc32Text(0, "The quick brown fox jumps over the lazy dog"));
  EXPECT_EQ(Crc32Text(0, "123456789"), Crc32Text(Crc32Text(0, "1234"), "56789")) << "continued checksum";
  EXPECT_EQ(0u, Crc32(0, "", 0));
  // The reading-direction entry, a message, a dialog control and a dialog scale entry;
  // the Chinese texts in the code page 936.
  EXPECT_EQ("50a17ae8", Key("LTR", "LTR", TranslationCategory::Dialog));
  EXPECT_EQ("34db7fff",
            Key("\xc8\xb7\xca\xb5\xd2\xaa\xd0\xb6\xd4\xd8 Zendra \xc2\xf0?"));  // 确实要卸载 Zendra 吗?
  EXPECT_EQ("9432898b", Key("\xd0\xb6\xd4\xd8\xd2\xd1\xcd\xea\xb3\xc9"));       // 卸载已完成
  EXPECT_EQ("762298c1", Key("\xc8\xb7\xb6\xa8", "SETUPDLG", TranslationCategory::Dialog));  // 确定
  EXPECT_EQ("9b889d24", Key("", "SETUPDLG", TranslationCategory::Dialog));
  EXPECT_EQ("cc468f57", Key("hello"));
}

// A whole file and what its lookups give; a file that does not load leaves every text
// as it is.
struct SectionCase {
  const char* name;
  std::string file;
  bool loads;
  std::vector<std::pair<std::string, std::string>> lookups;  // text, translation
};

std::string MarkerAt(size_t offset) {
  return std::string(offset, '.') + kMarker + "\n" + Entry("hello", "found") + std::string(9000, '-');
}

const SectionCase kSectionCases[] = {
    {"NoMarker", "preamble without the marker\n" + Entry("hello", "bad"), false, {{"hello", "hello"}}},
    {"TooShort", "short", false, {{"hello", "hello"}}},
    {"EscapesLineEndsAndQuotes",
     kMarker + "\r\n" +                                        // CR LF file
         Key("quoted") + "=\"He said \\\"hi\\\"\"\r\n" +       // escaped quotes
         Key("inner") + "=\"a \"b\" c\"\r\n" +                 // plain inner quotes
         Key("lines") + "=\"one\\ntwo\\r\\tthree\\\\\"\r\n" +  // \n \r \t and backslash
         Key("other") + "=\"C:\\q\\Zendra\"\r\n" +             // unknown escapes stay
         Key("open") + "=\"no closing quote\r\n" +             // text to the line end
         Key("last") + "=\"x\"",                               // last line, no line end
     true,
     {{"quoted", "He said \"hi\""},
      {"inner", "a \"b\" c"},
      {"lines", "one\ntwo\r\tthree\\"},
      {"other", "C:\\q\\Zendra"},
      {"open", "no closing quote"},
      {"last", "x"}}},
    // The marker's own line is never an entry.
    {"MarkerLineWithMoreAsterisks",
     "x" + kMarker + "****** trailing words " + Entry("hello", "on the marker line") +
         Entry("hello", "next line"),
     true,
     {{"hello", "next line"}}},
    {"NulByteEndsTheSection",
     kMarker + "\n" + Entry("a", "A") + std::string(1, '\0') + Entry("b", "B"),
     true,
     {{"a", "A"}, {"b", "b"}}},
    // The marker is searched up to offset 130816.
    {"MarkerAt0", MarkerAt(0), true, {{"hello", "found"}}},
    {"MarkerAt8176", MarkerAt(8176), true, {{"hello", "found"}}},
    {"MarkerAt8177", MarkerAt(8177), true, {{"hello", "found"}}},
    {"MarkerAt130816", MarkerAt(130816), true, {{"hello", "found"}}},
    {"MarkerAt130817", MarkerAt(130817), false, {{"hello", "hello"}}},
};

void PrintTo(const SectionCase& c, std::ostream* os) {
  *os << c.name;
}

class LanguageSectionFile : public LanguageSection, public ::testing::WithParamInterface<SectionCase> {};

TEST_P(LanguageSectionFile, LoadsAndTranslates) {
  EXPECT_FALSE(language_.IsLoaded());
  EXPECT_EQ("hello", Translate("hello"));
  EXPECT_EQ(GetParam().loads, Load(language_, GetParam().file));
  EXPECT_EQ(GetParam().loads, language_.IsLoaded());
  for (const auto& [text, translation] : GetParam().lookups) EXPECT_EQ(translation, Translate(text)) << text;
}

INSTANTIATE_TEST_SUITE_P(Files, LanguageSectionFile, ::testing::ValuesIn(kSectionCases),
                         [](const ::testing::TestParamInfo<SectionCase>& info) { return info.param.name; });

TEST_F(LanguageSection, EntriesTranslateMessagesAndDialogTexts) {
  ASSERT_TRUE(Load(language_, "; preamble\n" + kMarker + "\n" + Entry("hello", "bonjour") +
                                  "; a comment line\n" + DialogEntry("OK", "D'accord", "TESTDLG") +
                                  Entry("OK", "other category", "TESTDLG", TranslationCategory::Other)));
  EXPECT_EQ("bonjour", Translate("hello"));
  EXPECT_EQ("D'accord", Translate("OK", "TESTDLG", TranslationCategory::Dialog));
  EXPECT_EQ("OK", Translate("OK", "OTHERDLG", TranslationCategory::Dialog));
  EXPECT_EQ("OK", Translate("OK")) << "another category gives another key";
  EXPECT_EQ("unknown", Translate("unknown"));
}

TEST_F(LanguageSection, TranslatesIntoTheSameBuffer) {
  ASSERT_TRUE(LoadSection(Entry("hello", "a longer translation")));
  char buffer[32] = "hello";
  language_.Translate(buffer, buffer, sizeof buffer);
  EXPECT_STREQ("a longer translation", buffer);
  char untranslated[32] = "not there";
  language_.Translate(untranslated, untranslated, sizeof untranslated);
  EXPECT_STREQ("not there", untranslated);
}

TEST_F(LanguageSection, UpperCaseKeysNeverMatch) {
  std::string key = Key("Zendra");
  std::string upper = key;
  for (char& c : upper) c = static_cast<char>(toupper(c));
  ASSERT_NE(key, upper);
  ASSERT_TRUE(LoadSection(upper + "=\"shouted\"\n"));
  EXPECT_EQ("Zendra", Translate("Zendra"));
}

TEST_F(LanguageSection, EntriesMoreThan64KiBAfterTheMarkerAreNotSeen) {
  std::string comments;
  while (comments.size() < 65536 - 100) comments += "; comment line to fill the section\n";
  ASSERT_TRUE(
      LoadSection(Entry("early", "in") + comments + std::string(200, ';') + "\n" + Entry("late", "out")));
  EXPECT_LE(language_.textLength, 65536);
  EXPECT_EQ("in", Translate("early"));
  EXPECT_EQ("late", Translate("late"));
}

TEST_F(LanguageSection, ManyEntriesAreFoundThroughTheSortedIndex) {
  std::string file = kMarker + "\n";
  for (int i = 0; i < 2000; ++i)
    file += Entry("text " + std::to_string(i), "translation " + std::to_string(i));
  ASSERT_TRUE(Load(language_, file));
  EXPECT_EQ(2000, language_.lineIndex.count);
  for (int i = 0; i < language_.lineIndex.count - 1; ++i)
    ASSERT_LE(
        strncmp(language_.text + language_.lineIndex[i], language_.text + language_.lineIndex[i + 1], 8), 0);
  for (int i = 0; i < 2000; i += 7)
    EXPECT_EQ("translation " + std::to_string(i), Translate("text " + std::to_string(i)));
}

TEST_F(LanguageSection, DuplicateKeysGiveOneOfTheirTexts) {
  ASSERT_TRUE(LoadSection(Entry("hello", "first") + Entry("hello", "second")));
  std::string t = Translate("hello");
  EXPECT_TRUE(t == "first" || t == "second") << t;
}

TEST_F(LanguageSection, ScanFindsTheLinesTheIndexLeavesOut) {
  // A section given directly may start with an entry: offset 0 is never indexed.
  std::string section = Entry("first", "found by the scan") + Entry("second", "indexed");
  ASSERT_TRUE(language_.SetSection(section.data(), static_cast<int>(section.size())));
  EXPECT_EQ(1, language_.lineIndex.count);
  EXPECT_EQ("found by the scan", Translate("first"));
  EXPECT_EQ("indexed", Translate("second"));
  // The index does not look at the "=" and the quote: a bare key line is found and
  // gives an empty text. The scan wants both, and a last line that starts within the
  // last eight characters is not indexed.
  std::string bare = kMarker + "\n" + Key("third") + "\n" + Key("fourth");
  ASSERT_TRUE(language_.SetSection(bare.data(), static_cast<int>(bare.size())));
  EXPECT_EQ(1, language_.lineIndex.count);
  EXPECT_EQ("", Translate("third"));
  EXPECT_EQ("fourth", Translate("fourth"));
}

TEST_F(LanguageSection, TranslationsAreCutAtTheDestinationsCapacity) {
  ScopedGbkTable gbk;
  std::string longText(600, 'w');
  std::string chinese;
  for (int i = 0; i < 10; ++i) chinese += "\xd6\xd0";  // 中 ten times
  ASSERT_TRUE(LoadSection(Entry("long", longText) + Entry("zh", chinese) + Key("tail") + "=\"" +
                          std::string(300, 't')));
  EXPECT_EQ(longText, Translate("long", nullptr, TranslationCategory::Message, 1024));
  EXPECT_EQ(longText.substr(0, 255), Translate("long", nullptr, TranslationCategory::Message, 256));
  EXPECT_EQ("", Translate("long", nullptr, TranslationCategory::Message, 1));
  // A cut never leaves half a double-byte character.
  EXPECT_EQ(chinese.substr(0, 6), Translate("zh", nullptr, TranslationCategory::Message, 8));
  // An unended last line without its quote gives at most 255 characters.
  EXPECT_EQ(std::string(255, 't'), Translate("tail"));
  // Untranslated texts are cut as well.
  EXPECT_EQ("unkn", Translate("unknown", nullptr, TranslationCategory::Message, 5));
}

TEST_F(LanguageSection, DirectionEntry) {
  EXPECT_FALSE(language_.DirectionEntryIsRightToLeft());
  ASSERT_TRUE(LoadSection(DialogEntry("LTR", "RTL", "LTR")));
  EXPECT_TRUE(language_.DirectionEntryIsRightToLeft());
  ASSERT_TRUE(LoadSection(DialogEntry("LTR", "rtl", "LTR")));
  EXPECT_FALSE(language_.DirectionEntryIsRightToLeft()) << "case-sensitive";
}

TEST(DialogScale, ScaleEntries) {
  struct Case {
    const char* text;
    int x, y;
    bool needed;
  } cases[] = {
      {"120*100", 120, 100, true},       {"100*100", 100, 100, false},
      {"120", 100, 100, false},          {"", 100, 100, false},
      {" -5*+7x", -5, 7, true},          {"abc*", 0, 0, true},
      {"99999999999*1", 10000, 1, true},
  };
  for (const Case& c : cases) {
    int x = -1;
    int y = -1;
    EXPECT_EQ(c.needed, ParseDialogScale(c.text, &x, &y)) << c.text;
    EXPECT_EQ(c.x, x) << c.text;
    EXPECT_EQ(c.y, y) << c.text;
  }
  LanguageResources language;
  ASSERT_TRUE(Load(language, kMarker + "\n" + DialogEntry("", "120*100", "TESTDLG")));
  int x = 0, y = 0;
  EXPECT_TRUE(language.GetDialogScale("TESTDLG", &x, &y));
  EXPECT_EQ(120, x);
  EXPECT_EQ(100, y);
  EXPECT_FALSE(language.GetDialogScale("OTHERDLG", &x, &y));
}

TEST(DialogScale, DialogOf400By300GrowsTo489By331) {
  ScaleRect window = {100, 50, 508, 380};  // 408 x 330
  ScaleRect client = {0, 0, 400, 300};
  int frameX = 0, frameY = 0;
  MeasureFrame(window, client, &frameX, &frameY);
  EXPECT_EQ(9, frameX);
  EXPECT_EQ(31, frameY);
  int width = 0, height = 0;
  ScaleDialogSize(client, frameX, frameY, 120, 100, &width, &height);
  EXPECT_EQ(489, width);
  EXPECT_EQ(331, height);

  // A child at screen (120, 100) of 50 x 20: frame 9 halves to 4, the dialog frame's
  // border (3 here) is taken off the frame height first.
  Placement p = ScaleChild(window, {120, 100, 170, 120}, frameX, frameY - 3, 120, 100);
  EXPECT_EQ((120 - 100 - 4) * 120 / 100, p.x);
  EXPECT_EQ(100 - 50 - 28, p.y);
  EXPECT_EQ(51 * 120 / 100, p.width);
  EXPECT_EQ(21, p.height);
  // Negative offsets truncate toward zero.
  Placement q = ScaleChild(window, {97, 50, 98, 51}, frameX, frameY, 150, 100);
  EXPECT_EQ(-7 * 150 / 100, q.x);
  EXPECT_EQ(-10, q.x);
}

TEST(DialogScale, DropDownComboHeightIncludesItsList) {
  ScaleRect window = {0, 0, 300, 200};
  Placement p = ScaleChild(window, {10, 40, 110, 61}, 9, 28, 110, 100);  // 21 pixels high
  EXPECT_EQ(22, p.height);
  EXPECT_EQ(123, AddDroppedListHeight(p.height, {10, 40, 110, 140}, 100));  // dropped: 100 high
}

}  // namespace
