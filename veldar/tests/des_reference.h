// DES written down the plain way, one byte per bit and one loop per table, with the
// permuted choice 2 as a parameter. Slow, but easy to check against the published
// description; the fast block function is tested against it.
#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "Des/DesBlock.h"

using Block = std::array<std::uint8_t, 8>;

// The published permuted choice 2, and the installer's table with entry 12 = 19.
extern const std::array<std::uint8_t, 48> kStandardPc2;
extern const std::array<std::uint8_t, 48> kInstallerPc2;
// The key bits (1: the first byte's most significant bit) that permuted choice 1 takes into the C half.
extern const int kPc1C[28];

Block ReferenceDes(const Block& key, const Block& in, bool encipher, const std::array<std::uint8_t, 48>& pc2);

// What the component's Execute must give: the reference over `input` in blocks of 8,
// the last one filled with zero bytes, under the key text's bytes followed by zero bytes.
std::string ReferenceEcb(const std::string& input, const std::string& keyText, bool encipher);

// One plain line of a script as the encryption writes it (upper-case hexadecimal of the
// reference under the script key); an empty line stays empty.
std::string EncipheredLine(const std::string& line);
std::vector<std::string> EncipheredLines(std::vector<std::string> lines);
// Every whole line equal to `from` (one with a CR LF on either side) replaced by `to`,
// as a script's marker line turns into the encryption clause.
std::string ReplaceLines(std::string text, const std::string& from, const std::string& to);

// Test helpers: a block from 16 hexadecimal digits, and back.
Block BlockFromHex(const char* hex);
std::string BlockToHex(const Block& block);

// The block function under test on one block, and a random block.
Block Fast(const Block& key, const Block& in, bool encipher, const DesPc2Table& pc2 = kDesPc2);
Block RandomBlock(std::mt19937_64& random);
