#include "des_reference.h"

#include "Des/ScriptFile.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

const int kIp[64] = {58, 50, 42, 34, 26, 18, 10, 2,  60, 52, 44, 36, 28, 20, 12, 4,  62, 54, 46, 38, 30, 22,
                     14, 6,  64, 56, 48, 40, 32, 24, 16, 8,  57, 49, 41, 33, 25, 17, 9,  1,  59, 51, 43, 35,
                     27, 19, 11, 3,  61, 53, 45, 37, 29, 21, 13, 5,  63, 55, 47, 39, 31, 23, 15, 7};
const int kFp[64] = {40, 8,  48, 16, 56, 24, 64, 32, 39, 7,  47, 15, 55, 23, 63, 31, 38, 6,  46, 14, 54, 22,
                     62, 30, 37, 5,  45, 13, 53, 21, 61, 29, 36, 4,  44, 12, 52, 20, 60, 28, 35, 3,  43, 11,
                     51, 19, 59, 27, 34, 2,  42, 10, 50, 18, 58, 26, 33, 1,  41, 9,  49, 17, 57, 25};
const int kE[48] = {32, 1,  2,  3,  4,  5,  4,  5,  6,  7,  8,  9,  8,  9,  10, 11,
                    12, 13, 12, 13, 14, 15, 16, 17, 16, 17, 18, 19, 20, 21, 20, 21,
                    22, 23, 24, 25, 24, 25, 26, 27, 28, 29, 28, 29, 30, 31, 32, 1};
const int kP[32] = {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
                    2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25};
const int kPc1C[28] = {57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18,
                       10, 2,  59, 51, 43, 35, 27, 19, 11, 3,  60, 52, 44, 36};
const int kPc1D[28] = {63, 55, 47, 39, 31, 23, 15, 7,  62, 54, 46, 38, 30, 22,
                       14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};
const int kShifts[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};
const int kS[8][4][16] = {{{14, 4, 13, 1, 2, 15, 11, 8, 3, 10, 6, 12, 5, 9, 0, 7},
                           {0, 15, 7, 4, 14, 2, 13, 1, 10, 6, 12, 11, 9, 5, 3, 8},
                           {4, 1, 14, 8, 13, 6, 2, 11, 15, 12, 9, 7, 3, 10, 5, 0},
                           {15, 12, 8, 2, 4, 9, 1, 7, 5, 11, 3, 14, 10, 0, 6, 13}},
                          {{15, 1, 8, 14, 6, 11, 3, 4, 9, 7, 2, 13, 12, 0, 5, 10},
                           {3, 13, 4, 7, 15, 2, 8, 14, 12, 0, 1, 10, 6, 9, 11, 5},
                           {0, 14, 7, 11, 10, 4, 13, 1, 5, 8, 12, 6, 9, 3, 2, 15},
                           {13, 8, 10, 1, 3, 15, 4, 2, 11, 6, 7, 12, 0, 5, 14, 9}},
                          {{10, 0, 9, 14, 6, 3, 15, 5, 1, 13, 12, 7, 11, 4, 2, 8},
                           {13, 7, 0, 9, 3, 4, 6, 10, 2, 8, 5, 14, 12, 11, 15, 1},
                           {13, 6, 4, 9, 8, 15, 3, 0, 11, 1, 2, 12, 5, 10, 14, 7},
                           {1, 10, 13, 0, 6, 9, 8, 7, 4, 15, 14, 3, 11, 5, 2, 12}},
                          {{7, 13, 14, 3, 0, 6, 9, 10, 1, 2, 8, 5, 11, 12, 4, 15},
                           {13, 8, 11, 5, 6, 15, 0, 3, 4, 7, 2, 12, 1, 10, 14, 9},
                           {10, 6, 9, 0, 12, 11, 7, 13, 15, 1, 3, 14, 5, 2, 8, 4},
                           {3, 15, 0, 6, 10, 1, 13, 8, 9, 4, 5, 11, 12, 7, 2, 14}},
                          {{2, 12, 4, 1, 7, 10, 11, 6, 8, 5, 3, 15, 13, 0, 14, 9},
                           {14, 11, 2, 12, 4, 7, 13, 1, 5, 0, 15, 10, 3, 9, 8, 6},
                           {4, 2, 1, 11, 10, 13, 7, 8, 15, 9, 12, 5, 6, 3, 0, 14},
                           {11, 8, 12, 7, 1, 14, 2, 13, 6, 15, 0, 9, 10, 4, 5, 3}},
                          {{12, 1, 10, 15, 9, 2, 6, 8, 0, 13, 3, 4, 14, 7, 5, 11},
                           {10, 15, 4, 2, 7, 12, 9, 5, 6, 1, 13, 14, 0, 11, 3, 8},
                           {9, 14, 15, 5, 2, 8, 12, 3, 7, 0, 4, 10, 1, 13, 11, 6},
                           {4, 3, 2, 12, 9, 5, 15, 10, 11, 14, 1, 7, 6, 0, 8, 13}},
                          {{4, 11, 2, 14, 15, 0, 8, 13, 3, 12, 9, 7, 5, 10, 6, 1},
                           {13, 0, 11, 7, 4, 9, 1, 10, 14, 3, 5, 12, 2, 15, 8, 6},
                           {1, 4, 11, 13, 12, 3, 7, 14, 10, 15, 6, 8, 0, 5, 9, 2},
                           {6, 11, 13, 8, 1, 4, 10, 7, 9, 5, 0, 15, 14, 2, 3, 12}},
                          {{13, 2, 8, 4, 6, 15, 11, 1, 10, 9, 3, 14, 5, 0, 12, 7},
                           {1, 15, 13, 8, 10, 3, 7, 4, 12, 5, 6, 11, 0, 14, 9, 2},
                           {7, 11, 4, 1, 9, 12, 14, 2, 0, 6, 10, 13, 15, 3, 5, 8},
                           {2, 1, 14, 7, 4, 10, 8, 13, 15, 12, 9, 0, 3, 5, 6, 11}}};

using Bits = std::vector<std::uint8_t>;  // bit n of the description at index n - 1

Bits ToBits(const Block& bytes) {
  Bits bits(64);
  for (int n = 0; n < 64; ++n) bits[n] = (bytes[n / 8] >> (7 - n % 8)) & 1;
  return bits;
}

Block ToBytes(const Bits& bits) {
  Block bytes{};
  for (int n = 0; n < 64; ++n) bytes[n / 8] |= static_cast<std::uint8_t>(bits[n] << (7 - n % 8));
  return bytes;
}

// Bit i of the result is bit table[i] of the source.
template <typename Table>
Bits Permute(const Bits& source, const Table& table) {
  Bits result(std::size(table));
  for (std::size_t i = 0; i < result.size(); ++i) result[i] = source[table[i] - 1];
  return result;
}

void RotateLeft(Bits& half, int count) {
  for (int c = 0; c < count; ++c) {
    const std::uint8_t first = half[0];
    for (int i = 0; i < 27; ++i) half[i] = half[i + 1];
    half[27] = first;
  }
}

Bits RoundFunction(const Bits& r, const Bits& subkey) {
  Bits x = Permute(r, kE);
  for (int i = 0; i < 48; ++i) x[i] ^= subkey[i];
  Bits s(32);
  for (int box = 0; box < 8; ++box) {
    const std::uint8_t* b = &x[6 * box];
    const int row = 2 * b[0] + b[5];
    const int column = 8 * b[1] + 4 * b[2] + 2 * b[3] + b[4];
    const int value = kS[box][row][column];
    for (int j = 0; j < 4; ++j) s[4 * box + j] = (value >> (3 - j)) & 1;
  }
  return Permute(s, kP);
}

}  // namespace

const std::array<std::uint8_t, 48> kStandardPc2 = {
    14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10, 23, 19, 12, 4,  26, 8,  16, 7,  27, 20, 13, 2,
    41, 52, 31, 37, 47, 55, 30, 40, 51, 45, 33, 48, 44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};

const std::array<std::uint8_t, 48> kInstallerPc2 = [] {
  auto table = kStandardPc2;
  table[11] = 19;
  return table;
}();

Block ReferenceDes(const Block& key, const Block& in, bool encipher,
                   const std::array<std::uint8_t, 48>& pc2) {
  const Bits keyBits = ToBits(key);
  Bits c = Permute(keyBits, kPc1C), d = Permute(keyBits, kPc1D);
  Bits subkeys[16];
  for (int round = 0; round < 16; ++round) {
    RotateLeft(c, kShifts[round]);
    RotateLeft(d, kShifts[round]);
    Bits cd = c;
    cd.insert(cd.end(), d.begin(), d.end());
    subkeys[round] = Permute(cd, pc2);
  }
  const Bits permuted = Permute(ToBits(in), kIp);
  Bits l(permuted.begin(), permuted.begin() + 32), r(permuted.begin() + 32, permuted.end());
  for (int round = 1; round <= 16; ++round) {
    const Bits f = RoundFunction(r, subkeys[encipher ? round - 1 : 16 - round]);
    Bits next(32);
    for (int i = 0; i < 32; ++i) next[i] = l[i] ^ f[i];
    l = r;
    r = next;
  }
  Bits preOutput = r;
  preOutput.insert(preOutput.end(), l.begin(), l.end());
  return ToBytes(Permute(preOutput, kFp));
}

Block BlockFromHex(const char* hex) {
  Block block{};
  for (int i = 0; i < 8; ++i)
    block[i] = static_cast<std::uint8_t>(std::stoul(std::string(hex + 2 * i, 2), nullptr, 16));
  return block;
}

std::string BlockToHex(const Block& block) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (std::uint8_t b : block) {
    hex += kDigits[b >> 4];
    hex += kDigits[b & 15];
  }
  return hex;
}

std::string UpperHex(const std::string& bytes) {
  std::string hex;
  for (unsigned char c : bytes) hex += BlockToHex(Block{c}).substr(0, 2);
  return hex;
}

std::string ReferenceEcb(const std::string& input, const std::string& keyText, bool encipher) {
  Block key{};
  std::copy(keyText.begin(), keyText.end(), key.begin());
  std::string out;
  for (std::size_t at = 0; at < input.size(); at += 8) {
    Block in{};
    for (std::size_t i = 0; i < 8 && at + i < input.size(); ++i)
      in[i] = static_cast<std::uint8_t>(input[at + i]);
    const Block result = ReferenceDes(key, in, encipher, kInstallerPc2);
    out.append(result.begin(), result.end());
  }
  return out;
}

Block Fast(const Block& key, const Block& in, bool encipher, const DesPc2Table& pc2) {
  Block out{};
  DesKeySchedule(key.data(), pc2).Crypt(in.data(), out.data(), 1, encipher);
  return out;
}

Block RandomBlock(std::mt19937_64& random) {
  Block b{};
  for (auto& byte : b) byte = static_cast<std::uint8_t>(random());
  return b;
}

std::string EncipheredLine(const std::string& line) {
  return UpperHex(ReferenceEcb(line, kScriptKey, true));
}
