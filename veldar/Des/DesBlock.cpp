// DES in the usual fast software form: the halves are held rotated left by one bit, so
// that each six-bit group of the expansion E is a plain shift and mask of a half; the
// eight S-boxes are merged with the permutation P into eight tables of 64 words; the
// initial and final permutations are done by five masked bit swaps each. Several
// independent blocks go through the rounds side by side, which keeps the processor's
// load units busy while one block waits for its table lookups.
#include "Des/DesBlock.h"

namespace {

using std::uint32_t;
using std::uint64_t;
using std::uint8_t;

// Tables of positions, numbered from 1 at the most significant bit.
constexpr uint8_t kPc1[56] = {57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18,  // C half
                              10, 2,  59, 51, 43, 35, 27, 19, 11, 3,  60, 52, 44, 36,  //
                              63, 55, 47, 39, 31, 23, 15, 7,  62, 54, 46, 38, 30, 22,  // D half
                              14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};

constexpr uint8_t kShifts[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};

constexpr uint8_t kP[32] = {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
                            2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25};

// S1 to S8, each as 4 rows of 16 columns.
constexpr uint8_t kS[8][64] = {
    {14, 4,  13, 1, 2,  15, 11, 8, 3, 10, 6, 12, 5,  9,  0,  7,  0,  15, 7,  4,  14, 2,
     13, 1,  10, 6, 12, 11, 9,  5, 3, 8,  4, 1,  14, 8,  13, 6,  2,  11, 15, 12, 9,  7,
     3,  10, 5,  0, 15, 12, 8,  2, 4, 9,  1, 7,  5,  11, 3,  14, 10, 0,  6,  13},
    {15, 1,  8,  14, 6,  11, 3,  4, 9,  7,  2, 13, 12, 0,  5,  10, 3,  13, 4,  7, 15, 2,
     8,  14, 12, 0,  1,  10, 6,  9, 11, 5,  0, 14, 7,  11, 10, 4,  13, 1,  5,  8, 12, 6,
     9,  3,  2,  15, 13, 8,  10, 1, 3,  15, 4, 2,  11, 6,  7,  12, 0,  5,  14, 9},
    {10, 0,  9,  14, 6, 3,  15, 5,  1,  13, 12, 7, 11, 4,  2,  8,  13, 7, 0,  9, 3, 4,
     6,  10, 2,  8,  5, 14, 12, 11, 15, 1,  13, 6, 4,  9,  8,  15, 3,  0, 11, 1, 2, 12,
     5,  10, 14, 7,  1, 10, 13, 0,  6,  9,  8,  7, 4,  15, 14, 3,  11, 5, 2,  12},
    {7, 13, 14, 3, 0, 6,  9, 10, 1,  2, 8,  5, 11, 12, 4,  15, 13, 8,  11, 5, 6, 15,
     0, 3,  4,  7, 2, 12, 1, 10, 14, 9, 10, 6, 9,  0,  12, 11, 7,  13, 15, 1, 3, 14,
     5, 2,  8,  4, 3, 15, 0, 6,  10, 1, 13, 8, 9,  4,  5,  11, 12, 7,  2,  14},
    {2,  12, 4, 1,  7,  10, 11, 6, 8, 5,  3, 15, 13, 0,  14, 9,  14, 11, 2,  12, 4,  7,
     13, 1,  5, 0,  15, 10, 3,  9, 8, 6,  4, 2,  1,  11, 10, 13, 7,  8,  15, 9,  12, 5,
     6,  3,  0, 14, 11, 8,  12, 7, 1, 14, 2, 13, 6,  15, 0,  9,  10, 4,  5,  3},
    {12, 1,  10, 15, 9,  2,  6, 8,  0, 13, 3,  4,  14, 7,  5, 11, 10, 15, 4, 2, 7, 12,
     9,  5,  6,  1,  13, 14, 0, 11, 3, 8,  9,  14, 15, 5,  2, 8,  12, 3,  7, 0, 4, 10,
     1,  13, 11, 6,  4,  3,  2, 12, 9, 5,  15, 10, 11, 14, 1, 7,  6,  0,  8, 13},
    {4, 11, 2,  14, 15, 0,  8,  13, 3, 12, 9,  7, 5,  10, 6,  1,  13, 0,  11, 7,  4, 9,
     1, 10, 14, 3,  5,  12, 2,  15, 8, 6,  1,  4, 11, 13, 12, 3,  7,  14, 10, 15, 6, 8,
     0, 5,  9,  2,  6,  11, 13, 8,  1, 4,  10, 7, 9,  5,  0,  15, 14, 2,  3,  12},
    {13, 2, 8,  4, 6, 15, 11, 1,  10, 9,  3, 14, 5,  0,  12, 7,  1,  15, 13, 8, 10, 3,
     7,  4, 12, 5, 6, 11, 0,  14, 9,  2,  7, 11, 4,  1,  9,  12, 14, 2,  0,  6, 10, 13,
     15, 3, 5,  8, 2, 1,  14, 7,  4,  10, 8, 13, 15, 12, 9,  0,  3,  5,  6,  11}};

constexpr uint32_t RotateLeft(uint32_t x, int n) {
  return (x << n) | (x >> (32 - n));
}
constexpr uint32_t RotateRight(uint32_t x, int n) {
  return (x >> n) | (x << (32 - n));
}

struct SpTables {
  uint32_t box[8][64];
};

// Table s, indexed by the six bits b1..b6 of its group (b1 the most significant),
// holds the four output bits of S-box s already moved to their places by P, in the
// rotated form of the halves.
constexpr SpTables MakeSpTables() {
  SpTables t{};
  for (int s = 0; s < 8; ++s) {
    for (int v = 0; v < 64; ++v) {
      const int row = ((v >> 4) & 2) | (v & 1);
      const int column = (v >> 1) & 15;
      const int value = kS[s][row * 16 + column];
      uint32_t word = 0;
      for (int j = 1; j <= 32; ++j) {
        const int source = kP[j - 1];  // bit of the S-box output that lands on bit j
        if (source > 4 * s && source <= 4 * s + 4 && ((value >> (4 * s + 4 - source)) & 1))
          word |= uint32_t{1} << (32 - j);
      }
      t.box[s][v] = RotateLeft(word, 1);
    }
  }
  return t;
}

constexpr SpTables kSp = MakeSpTables();

inline uint32_t LoadBigEndian(const uint8_t* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

inline void StoreBigEndian(uint8_t* p, uint32_t x) {
  p[0] = static_cast<uint8_t>(x >> 24);
  p[1] = static_cast<uint8_t>(x >> 16);
  p[2] = static_cast<uint8_t>(x >> 8);
  p[3] = static_cast<uint8_t>(x);
}

// Exchanges the bits of `a` selected by mask << n with the bits of `b` selected by mask.
inline void SwapBits(uint32_t& a, uint32_t& b, int n, uint32_t mask) {
  const uint32_t t = ((a >> n) ^ b) & mask;
  b ^= t;
  a ^= t << n;
}

// The round function f(R, K) on a rotated half; the result is rotated the same way.
inline uint32_t RoundFunction(uint32_t r, const uint32_t* k) {
  uint32_t w = RotateRight(r, 4) ^ k[0];
  uint32_t f = kSp.box[0][(w >> 24) & 63] | kSp.box[2][(w >> 16) & 63] | kSp.box[4][(w >> 8) & 63] |
               kSp.box[6][w & 63];
  w = r ^ k[1];
  f |= kSp.box[1][(w >> 24) & 63] | kSp.box[3][(w >> 16) & 63] | kSp.box[5][(w >> 8) & 63] |
       kSp.box[7][w & 63];
  return f;
}

// N blocks through the whole cipher, side by side. `keys` holds 32 words in round order.
template <int N>
inline void CryptBlocks(const uint8_t* in, uint8_t* out, const uint32_t* keys) {
  uint32_t l[N], r[N];
#pragma GCC unroll 8
  for (int b = 0; b < N; ++b) {
    uint32_t left = LoadBigEndian(in + 8 * b), right = LoadBigEndian(in + 8 * b + 4);
    // Initial permutation.
    SwapBits(left, right, 4, 0x0f0f0f0fu);
    SwapBits(left, right, 16, 0x0000ffffu);
    SwapBits(right, left, 2, 0x33333333u);
    SwapBits(right, left, 8, 0x00ff00ffu);
    SwapBits(left, right, 1, 0x55555555u);
    l[b] = RotateLeft(left, 1);
    r[b] = RotateLeft(right, 1);
  }
  // Two rounds per step, so the halves need no exchange.
#pragma GCC unroll 8
  for (int round = 0; round < 16; round += 2) {
#pragma GCC unroll 8
    for (int b = 0; b < N; ++b) l[b] ^= RoundFunction(r[b], keys + 2 * round);
#pragma GCC unroll 8
    for (int b = 0; b < N; ++b) r[b] ^= RoundFunction(l[b], keys + 2 * round + 2);
  }
#pragma GCC unroll 8
  for (int b = 0; b < N; ++b) {
    // The pre-output is R16 followed by L16; then the final permutation.
    uint32_t high = RotateRight(r[b], 1), low = RotateRight(l[b], 1);
    SwapBits(high, low, 1, 0x55555555u);
    SwapBits(low, high, 8, 0x00ff00ffu);
    SwapBits(low, high, 2, 0x33333333u);
    SwapBits(high, low, 16, 0x0000ffffu);
    SwapBits(high, low, 4, 0x0f0f0f0fu);
    StoreBigEndian(out + 8 * b, high);
    StoreBigEndian(out + 8 * b + 4, low);
  }
}

// Bit `position` (1 = most significant) of a value `width` bits wide.
inline uint64_t BitAt(uint64_t value, int width, int position) {
  return (value >> (width - position)) & 1;
}

}  // namespace

const DesPc2Table kDesPc2 = {14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 19, 23, 19, 12, 4,
                             26, 8,  16, 7,  27, 20, 13, 2,  41, 52, 31, 37, 47, 55, 30, 40,
                             51, 45, 33, 48, 44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};

DesKeySchedule::DesKeySchedule(const uint8_t key[8], const DesPc2Table& pc2) {
  uint64_t k = 0;
  for (int i = 0; i < 8; ++i) k = (k << 8) | key[i];
  // PC-1 never selects a parity bit, so those are ignored here.
  uint32_t c = 0, d = 0;
  for (int i = 0; i < 28; ++i) c = (c << 1) | static_cast<uint32_t>(BitAt(k, 64, kPc1[i]));
  for (int i = 28; i < 56; ++i) d = (d << 1) | static_cast<uint32_t>(BitAt(k, 64, kPc1[i]));
  for (int round = 0; round < 16; ++round) {
    for (int s = 0; s < kShifts[round]; ++s) {
      c = ((c << 1) | (c >> 27)) & 0x0fffffffu;
      d = ((d << 1) | (d >> 27)) & 0x0fffffffu;
    }
    const uint64_t cd = (uint64_t{c} << 28) | d;
    uint64_t subkey = 0;
    for (int j = 0; j < 48; ++j) subkey = (subkey << 1) | BitAt(cd, 56, pc2[j]);
    uint32_t group[8];
    for (int s = 0; s < 8; ++s) group[s] = static_cast<uint32_t>(subkey >> (42 - 6 * s)) & 63;
    encipher_[2 * round] = group[0] << 24 | group[2] << 16 | group[4] << 8 | group[6];
    encipher_[2 * round + 1] = group[1] << 24 | group[3] << 16 | group[5] << 8 | group[7];
  }
  for (int round = 0; round < 16; ++round) {
    decipher_[2 * round] = encipher_[2 * (15 - round)];
    decipher_[2 * round + 1] = encipher_[2 * (15 - round) + 1];
  }
}

void DesKeySchedule::Crypt(const uint8_t* in, uint8_t* out, std::size_t blocks, bool encipher) const {
  const uint32_t* keys = encipher ? encipher_ : decipher_;
  constexpr std::size_t kSideBySide = 4;
  for (; blocks >= kSideBySide; blocks -= kSideBySide) {
    CryptBlocks<kSideBySide>(in, out, keys);
    in += 8 * kSideBySide;
    out += 8 * kSideBySide;
  }
  for (; blocks > 0; --blocks) {
    CryptBlocks<1>(in, out, keys);
    in += 8;
    out += 8;
  }
}
