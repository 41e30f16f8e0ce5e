// TEncryption: the properties, the hexadecimal rules, the key rules and Execute.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "Des/Encryption.h"
#include "des_reference.h"

namespace {

std::string RandomBytes(std::mt19937_64& random, std::size_t length) {
  std::string s(length, '\0');
  for (char& c : s) c = static_cast<char>(random());
  return s;
}

std::vector<std::pair<std::string, std::string>> gNotices;
void RecordNotice(const char* text, const char* caption) {
  gNotices.emplace_back(text, caption);
}

class Encryption : public ::testing::Test {
 protected:
  void SetUp() override { gNotices.clear(); }
  // Execute on `text`; the output.
  std::string Run(const std::string& text) {
    des_.SetInput(text);
    des_.Execute();
    return des_.Output();
  }

  TEncryption des_{RecordNotice};
};

TEST_F(Encryption, StartsEmptyEnciphering) {
  EXPECT_EQ("", des_.Input());
  EXPECT_EQ("", des_.Output());
  EXPECT_EQ("", des_.HexInput());
  EXPECT_EQ("", des_.HexOutput());
  EXPECT_EQ("", des_.Key());
  EXPECT_EQ(TActionType::Encryption, des_.Action());
  EXPECT_EQ(0, static_cast<int>(TActionType::Encryption));
  EXPECT_EQ(1, static_cast<int>(TActionType::Decryption));
}

TEST_F(Encryption, HexTextOfBytesIsUpperCaseWithoutSeparators) {
  des_.SetInput(std::string("\x00\x7f\xff", 3));
  EXPECT_EQ("007FFF", des_.HexInput());
  des_.SetOutput("\xab\x01 z");
  EXPECT_EQ("AB01207A", des_.HexOutput());
  des_.SetInput("");
  EXPECT_EQ("", des_.HexInput());
}

TEST_F(Encryption, HexTextIsReadLeniently) {
  struct Case {
    const char* hex;
    std::string bytes;
  };
  const Case cases[] = {
      {"4a", "\x4a"},                      // lower case accepted
      {"ABC", "\xab"},                     // an odd last character is ignored
      {"G1", std::string(1, '\0')},        // a pair with a non-digit gives 0
      {"1G", std::string(1, '\0')},        //
      {"0x41", std::string("\0\x41", 2)},  // no prefix: "0x" is a bad pair
      {"4A 2", std::string("\x4a\0", 2)},  // a blank spoils its pair only
      {"fFaA09", "\xff\xaa\x09"},          //
      {"", ""},                            //
      {"7", ""},                           //
      {"\xb0\xa1"
       "41",
       std::string("\0\x41", 2)},  // bytes of other characters
  };
  for (const Case& c : cases) {
    des_.SetHexInput(c.hex);
    EXPECT_EQ(c.bytes, des_.Input()) << '"' << c.hex << '"';
    EXPECT_EQ(c.hex, des_.HexInput()) << "kept exactly as written";
    des_.SetHexOutput(c.hex);
    EXPECT_EQ(c.bytes, des_.Output()) << '"' << c.hex << '"';
    EXPECT_EQ(c.hex, des_.HexOutput());
  }
}

TEST_F(Encryption, KeyOfMoreThanEightCharactersIsRefusedWithANotice) {
  des_.SetKey("meadows");
  des_.SetKey("123456789");
  ASSERT_EQ(1u, gNotices.size());
  EXPECT_EQ("Key String Length Must Less 9 Character.", gNotices[0].first);
  EXPECT_EQ("Information", gNotices[0].second);
  EXPECT_EQ("meadows", des_.Key());

  des_.SetKey("12345678");
  EXPECT_EQ("12345678", des_.Key());
  des_.SetKey(std::string(300, 'k'));
  EXPECT_EQ("12345678", des_.Key());
  des_.SetKey("");
  EXPECT_EQ("", des_.Key());
  EXPECT_EQ(2u, gNotices.size());
}

TEST_F(Encryption, EmptyKeyBecomesTheFallbackKeyAtExecute) {
  EXPECT_EQ("", Run(""));
  EXPECT_EQ("", des_.HexOutput());
  EXPECT_EQ("Oak Elm ", des_.Key());

  des_.SetKey("");
  EXPECT_EQ(ReferenceEcb("select 1", "Oak Elm ", true), Run("select 1"));
}

TEST_F(Encryption, KeyBytesAreFilledWithZeroBytes) {
  des_.SetKey("meadows");
  EXPECT_EQ(ReferenceEcb("GO", std::string("meadows\0", 8), true), Run("GO"));
  // A short key and the same key with explicit zero bytes are one key.
  const std::string viaShortKey = des_.Output();
  des_.SetKey(std::string("meadows\0", 8));
  des_.Execute();
  EXPECT_EQ(viaShortKey, des_.Output());
  // Key bytes of the code page are used as they stand.
  des_.SetKey("\xc3\xdc\xd4\xbf");
  des_.Execute();
  EXPECT_EQ(ReferenceEcb("GO", "\xc3\xdc\xd4\xbf", true), des_.Output());
}

TEST_F(Encryption, LastBlockIsFilledWithZeroBytes) {
  des_.SetKey("meadows");
  for (std::size_t n : {1u, 7u, 8u, 9u, 16u, 20u, 33u}) {
    const std::string text(n, 'x');
    Run(text);
    const std::size_t blocks = (n + 7) / 8;
    EXPECT_EQ(8 * blocks, des_.Output().size()) << n;
    EXPECT_EQ(16 * blocks, des_.HexOutput().size()) << n;
    EXPECT_EQ(std::string::npos, des_.HexOutput().find_first_not_of("0123456789ABCDEF")) << n;
    EXPECT_EQ(ReferenceEcb(text, "meadows", true), des_.Output()) << n;
    EXPECT_EQ(text, des_.Input());
  }
}

TEST_F(Encryption, ExecuteEqualsTheBlockFunctionOnEveryBlock) {
  std::mt19937_64 random(17);
  for (int i = 0; i < 200; ++i) {
    const std::string key = RandomBytes(random, random() % 9);
    const std::string text = RandomBytes(random, random() % 70);
    const bool encipher = i % 2 == 0;
    des_.SetKey(key);
    des_.SetAction(encipher ? TActionType::Encryption : TActionType::Decryption);
    ASSERT_EQ(ReferenceEcb(text, key.empty() ? "Oak Elm " : key, encipher), Run(text))
        << "key length " << key.size() << ", text length " << text.size();
  }
}

TEST_F(Encryption, RoundTripGivesTheTextWithItsZeroFill) {
  std::mt19937_64 random(23);
  for (int i = 0; i < 100; ++i) {
    const std::string text = RandomBytes(random, random() % 50);
    des_.SetKey(RandomBytes(random, 1 + random() % 8));
    const std::string key = des_.Key();
    des_.SetAction(TActionType::Encryption);
    des_.SetInput(text);
    const std::string hexInput = des_.HexInput();
    des_.Execute();
    EXPECT_EQ(text, des_.Input());
    EXPECT_EQ(hexInput, des_.HexInput());
    EXPECT_EQ(TActionType::Encryption, des_.Action());

    const std::string hex = des_.HexOutput();
    des_.SetHexInput(hex);
    des_.SetAction(TActionType::Decryption);
    des_.Execute();
    EXPECT_EQ(text + std::string((8 - text.size() % 8) % 8, '\0'), des_.Output());
    EXPECT_EQ(key, des_.Key());
    EXPECT_EQ(hex, des_.HexInput());
    EXPECT_EQ(TActionType::Decryption, des_.Action());
  }
}

TEST_F(Encryption, ExecuteReplacesTheOutputAndFollowsKeyChanges) {
  des_.SetKey("first");
  des_.SetInput("0123456789abcdefXYZ");
  des_.Execute();
  des_.Execute();
  EXPECT_EQ(24u, des_.Output().size());
  EXPECT_EQ(ReferenceEcb("0123456789abcdefXYZ", "first", true), des_.Output());
  des_.SetKey("second");
  des_.Execute();
  EXPECT_EQ(ReferenceEcb("0123456789abcdefXYZ", "second", true), des_.Output());
  EXPECT_EQ(8u, Run("short").size());
  EXPECT_EQ(16u, des_.HexOutput().size());
}

TEST_F(Encryption, DecipheringAPartialBlockFillsItWithZeroBytes) {
  des_.SetKey("meadows");
  des_.SetAction(TActionType::Decryption);
  des_.SetHexInput("0102030");  // three whole pairs, the odd digit is ignored
  des_.Execute();
  EXPECT_EQ(ReferenceEcb("\x01\x02\x03", "meadows", false), des_.Output());
}

}  // namespace
