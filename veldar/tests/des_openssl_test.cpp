// The block function against an independent DES: OpenSSL's. Its key schedule has the
// published table, so it agrees with ours under the standard table on every key, and
// under the installer's table whenever register positions 10 and 19 always hold equal
// bits, which is the case when all 28 bits of the C half are equal.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/des.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "Des/DesBlock.h"
#include "des_reference.h"

namespace {

Block OpenSsl(const Block& key, const Block& in, bool encipher) {
  DES_cblock keyBlock;
  std::copy(key.begin(), key.end(), keyBlock);
  DES_key_schedule schedule;
  DES_set_key_unchecked(&keyBlock, &schedule);
  DES_cblock input, output;
  std::copy(in.begin(), in.end(), input);
  DES_ecb_encrypt(&input, &output, &schedule, encipher ? DES_ENCRYPT : DES_DECRYPT);
  Block out;
  std::copy(output, output + 8, out.begin());
  return out;
}

Block KeyWithUniformCHalf(std::mt19937_64& random, bool bit) {
  Block key = RandomBlock(random);
  for (int position : kPc1C) {
    const int byte = (position - 1) / 8, mask = 0x80 >> ((position - 1) % 8);
    key[byte] = static_cast<std::uint8_t>(bit ? key[byte] | mask : key[byte] & ~mask);
  }
  return key;
}

TEST(DesAgainstOpenSsl, StandardTableAgreesOnRandomKeysAndBlocks) {
  std::mt19937_64 random(1);
  for (int i = 0; i < 5000; ++i) {
    const Block key = RandomBlock(random), in = RandomBlock(random);
    const bool encipher = i % 2 == 0;
    ASSERT_EQ(OpenSsl(key, in, encipher), Fast(key, in, encipher, kStandardPc2))
        << "key " << BlockToHex(key) << " block " << BlockToHex(in);
  }
}

TEST(DesAgainstOpenSsl, InstallerTableAgreesWhenTheCHalfIsUniform) {
  std::mt19937_64 random(2);
  for (int i = 0; i < 4000; ++i) {
    const Block key = KeyWithUniformCHalf(random, i % 4 < 2), in = RandomBlock(random);
    const bool encipher = i % 2 == 0;
    ASSERT_EQ(OpenSsl(key, in, encipher), Fast(key, in, encipher, kDesPc2))
        << "key " << BlockToHex(key) << " block " << BlockToHex(in);
  }
  // The all-zero key among them.
  const Block zero{};
  EXPECT_EQ(OpenSsl(zero, zero, true), Fast(zero, zero, true, kDesPc2));
}

}  // namespace
