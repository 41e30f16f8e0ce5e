// The fast block function against published known answers and against the reference.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "Des/DesBlock.h"
#include "des_reference.h"

namespace {

struct KnownAnswer {
  const char* key;
  const char* plain;
  const char* cipher;
};

// Published answers of standard DES: the worked example of the textbooks, samples of
// the variable plaintext, variable key, permutation and substitution tables of the
// validation suite, and the classic "Now is t".
const KnownAnswer kKnownAnswers[] = {
    {"133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405"},
    {"0E329232EA6D0D73", "8787878787878787", "0000000000000000"},
    {"0101010101010101", "8000000000000000", "95F8A5E5DD31D900"},
    {"0101010101010101", "4000000000000000", "DD7F121CA5015619"},
    {"0101010101010101", "0000000000000001", "166B40B44ABA4BD6"},
    {"8001010101010101", "0000000000000000", "95A8D72813DAA94D"},
    {"4001010101010101", "0000000000000000", "0EEC1487DD8C26D5"},
    {"0101010101010102", "0000000000000000", "869EFD7F9F265A09"},
    {"1046913489980131", "0000000000000000", "88D55E54F54C97B4"},
    {"1007103489988020", "0000000000000000", "0C0CC00C83EA48FD"},
    {"7CA110454A1A6E57", "01A1D6D039776742", "690F5B0D9A26939B"},
    {"0131D9619DC1376E", "5CD54CA83DEF57DA", "7A389D10354BD271"},
    {"07A1133E4A0B2686", "0248D43806F67172", "868EBB51CAB4599A"},
    {"3849674C2602319E", "51454B582DDF440A", "7178876E01F19B2A"},
    {"04B915BA43FEB5B6", "42FD443059577FA2", "AF37FB421F8C4095"},
    {"0113B970FD34F2CE", "059B5E0851CF143A", "86A560F10EC6D85B"},
    {"0170F175468FB5E6", "0756D8E0774761D2", "0CD3DA020021DC09"},
    {"0123456789ABCDEF", "4E6F772069732074", "3FA40E8A984D4815"},
};

TEST(DesBlock, StandardTableGivesThePublishedAnswers) {
  for (const KnownAnswer& answer : kKnownAnswers) {
    SCOPED_TRACE(answer.key + std::string(" ") + answer.plain);
    const Block key = BlockFromHex(answer.key), plain = BlockFromHex(answer.plain);
    EXPECT_EQ(answer.cipher, BlockToHex(Fast(key, plain, true, kStandardPc2)));
    EXPECT_EQ(answer.plain, BlockToHex(Fast(key, BlockFromHex(answer.cipher), false, kStandardPc2)));
    // The reference is only worth comparing with once it passes the same answers.
    EXPECT_EQ(answer.cipher, BlockToHex(ReferenceDes(key, plain, true, kStandardPc2)));
  }
}

TEST(DesBlock, InstallerTableDiffersFromTheStandardForMostKeys) {
  EXPECT_EQ(19, kDesPc2[11]);
  std::mt19937_64 random(11);
  int differing = 0;
  for (int i = 0; i < 200; ++i) {
    const Block key = RandomBlock(random), plain = RandomBlock(random);
    if (Fast(key, plain, true) != Fast(key, plain, true, kStandardPc2)) ++differing;
  }
  EXPECT_GT(differing, 180);
  // The textbook example is one of them.
  EXPECT_NE("85E813540F0AB405",
            BlockToHex(Fast(BlockFromHex("133457799BBCDFF1"), BlockFromHex("0123456789ABCDEF"), true)));
}

TEST(DesBlock, FastFunctionEqualsTheReferenceBothWays) {
  std::mt19937_64 random(2024);
  for (int i = 0; i < 3000; ++i) {
    const Block key = RandomBlock(random), in = RandomBlock(random);
    const bool encipher = i % 2 == 0;
    ASSERT_EQ(ReferenceDes(key, in, encipher, kInstallerPc2), Fast(key, in, encipher))
        << "key " << BlockToHex(key) << " block " << BlockToHex(in)
        << (encipher ? " enciphered" : " deciphered");
  }
}

TEST(DesBlock, RunsOfBlocksEqualBlockByBlockAlsoInPlace) {
  std::mt19937_64 random(7);
  const Block key = RandomBlock(random);
  const DesKeySchedule schedule(key.data());
  const auto first = [](std::vector<Block>& blocks) { return blocks.empty() ? nullptr : blocks[0].data(); };
  for (std::size_t count = 0; count <= 11; ++count) {
    std::vector<Block> in(count);
    for (auto& b : in) b = RandomBlock(random);
    for (bool encipher : {true, false}) {
      std::vector<Block> out(count), inPlace = in;
      schedule.Crypt(first(in), first(out), count, encipher);
      schedule.Crypt(first(inPlace), first(inPlace), count, encipher);
      for (std::size_t i = 0; i < count; ++i) {
        const Block expected = ReferenceDes(key, in[i], encipher, kInstallerPc2);
        EXPECT_EQ(expected, out[i]) << "block " << i << " of " << count;
        EXPECT_EQ(expected, inPlace[i]) << "block " << i << " of " << count << " in place";
      }
    }
  }
}

TEST(DesBlock, DecipheringUndoesEnciphering) {
  std::mt19937_64 random(99);
  for (int i = 0; i < 2000; ++i) {
    const Block key = RandomBlock(random), plain = RandomBlock(random);
    ASSERT_EQ(plain, Fast(key, Fast(key, plain, true), false)) << BlockToHex(key) << " " << BlockToHex(plain);
  }
}

TEST(DesBlock, ParityBitsAreIgnored) {
  std::mt19937_64 random(5);
  for (int i = 0; i < 200; ++i) {
    Block key = RandomBlock(random);
    const Block plain = RandomBlock(random);
    const Block expected = Fast(key, plain, true);
    for (auto& byte : key) byte ^= static_cast<std::uint8_t>(random() & 1);
    ASSERT_EQ(expected, Fast(key, plain, true)) << BlockToHex(key);
    key[random() % 8] ^= 2;  // a key bit, by contrast, does count
    ASSERT_NE(expected, Fast(key, plain, true)) << BlockToHex(key);
  }
}

}  // namespace
