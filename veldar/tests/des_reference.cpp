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
const int kPc1D[28] = {63, 55, 47, 39, 31, 23, 15, 7,  62, 54, 46, 38, 30, 22,
                       14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};
const int kShifts[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};
// The S-boxes: per box the four rows of the published tables, each row's 16 entries
// as hexadecimal digits.
const char* const kS[8] = {"E4D12FB83A6C5907 0F74E2D1A6CB9538 41E8D62BFC973A50 FC8249175B3EA06D",
                           "F18E6B34972DC05A 3D47F28EC01A69B5 0E7BA4D158C6932F D8A13F42B67C05E9",
                           "A09E63F51DC7B428 D709346A285ECBF1 D6498F30B12C5AE7 1AD069874FE3B52C",
                           "7DE3069A1285BC4F D8B56F03472C1AE9 A690CB7DF13E5284 3F06A1D8945BC72E",
                           "2C417AB6853FD0E9 EB2C47D150FA3986 421BAD78F9C5630E B8C71E2D6F09A453",
                           "C1AF92680D34E75B AF427C9561DE0B38 9EF528C3704A1DB6 432C95FABE17608D",
                           "4B2EF08D3C975A61 D0B7491AE35C2F86 14BDC37EAF680592 6BD814A7950FE23C",
                           "D2846FB1A93E50C7 1FD8A374C56B0E92 7B419CE206ADF358 21E74A8DFC90356B"};

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

Bits RoundFunction(const Bits& r, const Bits& subkey) {
  Bits x = Permute(r, kE);
  for (int i = 0; i < 48; ++i) x[i] ^= subkey[i];
  Bits s(32);
  for (int box = 0; box < 8; ++box) {
    const std::uint8_t* b = &x[6 * box];
    const int row = 2 * b[0] + b[5];
    const int column = 8 * b[1] + 4 * b[2] + 2 * b[3] + b[4];
    const char digit = kS[box][17 * row + column];
    const int value = digit <= '9' ? digit - '0' : digit - 'A' + 10;
    for (int j = 0; j < 4; ++j) s[4 * box + j] = (value >> (3 - j)) & 1;
  }
  return Permute(s, kP);
}

}  // namespace

const int kPc1C[28] = {57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18,
                       10, 2,  59, 51, 43, 35, 27, 19, 11, 3,  60, 52, 44, 36};

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
    std::rotate(c.begin(), c.begin() + kShifts[round], c.end());
    std::rotate(d.begin(), d.begin() + kShifts[round], d.end());
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
  std::string hex;
  for (unsigned char c : ReferenceEcb(line, kScriptKey, true)) hex += BlockToHex(Block{c}).substr(0, 2);
  return hex;
}

std::vector<std::string> EncipheredLines(std::vector<std::string> lines) {
  for (std::string& line : lines) line = EncipheredLine(line);
  return lines;
}

std::string ReplaceLines(std::string text, const std::string& from, const std::string& to) {
  const std::string find = "\r\n" + from + "\r\n";
  const std::string put = "\r\n" + to + "\r\n";
  for (size_t at = text.find(find); at != std::string::npos; at = text.find(find, at + put.size() - 2)) {
    text.replace(at, find.size(), put);
  }
  return text;
}
