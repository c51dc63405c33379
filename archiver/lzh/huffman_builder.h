// Length-limited Huffman code lengths from symbol frequencies, and the
// canonical codes the LZH format derives from them (shorter codes are
// numerically smaller; equal lengths in symbol order).
#pragma once
#include <cstdint>

namespace lzh {

enum : int { kMaxCodeBits = 16 };

// Fills lengths[0..n) (0 for unused symbols, at most `max_bits`), n <= 1024.
// Returns the number of symbols used. With exactly one symbol used its length
// is 0: the format sends such a table as "only this symbol" and no code bits.
int BuildCodeLengths(const uint32_t* freq, int n, int max_bits, uint8_t* lengths);

// Canonical codes for the given lengths.
void BuildCodes(const uint8_t* lengths, int n, uint16_t* codes);

}  // namespace lzh
