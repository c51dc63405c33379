// One static-Huffman block of the -lh5-/-lh6-/-lh7- stream: a 16-bit symbol
// count, the code-length table for the length table (pt), the literal/length
// table (c, 510 symbols) and the position table (p), then the symbols.
#pragma once
#include <cstdint>

#include "archiver/lzh/bit_writer.h"

namespace lzh {

enum : int {
  kMinMatch = 3,
  kMaxMatch = 256,
  kNumCodes = 256 + kMaxMatch - kMinMatch + 1,  // 510 literal/length codes
  kMaxBlockSymbols = 65535,
};

// Position code of a match offset p (distance - 1): its bit length.
inline int PositionCode(uint32_t p) {
  return p == 0 ? 0 : 32 - __builtin_clz(p);
}

// Symbol counts of a stretch of the stream: code[i] is a literal (< 256) or
// 256 + length - 3; pos[i] the offset of a match.
struct SymbolStats {
  uint32_t c[kNumCodes];
  uint32_t p[18];
  void Count(const uint16_t* code, const uint16_t* pos, int count);
  void Sum(const SymbolStats& a, const SymbolStats& b);
};

class BlockCoder {
 public:
  explicit BlockCoder(int dict_bits);

  // Exact size in bits of a block with these counts, tables included.
  uint64_t Cost(const SymbolStats& stats);

  // Writes the block holding symbols [0, count); `last` for the block that
  // ends the stream.
  void Write(const uint16_t* code, const uint16_t* pos, int count, BitWriter& out, bool last);

  // Code lengths of the last block written (estimates for the parser).
  const uint8_t* literal_lengths() const { return c_len_; }
  const uint8_t* position_lengths() const { return p_len_; }

 private:
  // Code lengths of every table; the codes themselves only for writing.
  void BuildTables(const SymbolStats& stats, bool last);
  void BuildCodesForWrite();
  uint64_t TableBits() const;
  void WritePtLengths(const uint8_t* len, int n, int nbit, int special, BitWriter& out) const;
  void WriteLiteralLengths(BitWriter& out) const;

  int np_, pbit_;
  const uint32_t* c_freq_ = nullptr;
  const uint32_t* p_freq_ = nullptr;
  SymbolStats stats_;
  uint32_t t_freq_[19];
  uint8_t c_len_[kNumCodes], t_len_[19], p_len_[18];
  uint16_t c_code_[kNumCodes], t_code_[19], p_code_[18];
  int c_used_, t_used_, p_used_;
};

}  // namespace lzh
