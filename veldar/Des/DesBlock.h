// The block function of the line cipher: DES on blocks of 8 bytes, with the installer's
// own permuted choice 2 in the key schedule.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Permuted choice 2: 48 positions (1 to 56) in the key register CD, C half first.
using DesPc2Table = std::array<std::uint8_t, 48>;

// The installer's table. Its twelfth entry is 19 where the published standard has 10,
// so register position 19 feeds two subkey bits and position 10 none. Encrypted
// scripts depend on it: a standard DES can neither read nor write them.
extern const DesPc2Table kDesPc2;

// The sixteen subkeys of one key, derived once and laid out for the table-driven
// rounds in both orders, so that enciphering and deciphering run the same code.
class DesKeySchedule {
 public:
  // Reads the 8 key bytes; the least significant bit of each (the parity bit) is ignored.
  explicit DesKeySchedule(const std::uint8_t key[8], const DesPc2Table& pc2 = kDesPc2);

  // Enciphers or deciphers `blocks` consecutive blocks of 8 bytes from `in` into `out`.
  // `in` and `out` may be the same buffer, but must not overlap otherwise.
  void Crypt(const std::uint8_t* in, std::uint8_t* out, std::size_t blocks, bool encipher) const;

 private:
  // Per round two words: the S-box groups 1, 3, 5, 7 and 2, 4, 6, 8, six bits each
  // in the low bits of the bytes, matching the rotated halves the rounds work on.
  std::uint32_t encipher_[32];
  std::uint32_t decipher_[32];
};
