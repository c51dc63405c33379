#include "archiver/lzh/encode_block.h"

#include <cstring>

#include "archiver/lzh/huffman_builder.h"

namespace lzh {
namespace {

enum : int { kNt = 19, kTBits = 5, kCBits = 9 };

int TrimmedCount(const uint8_t* len, int n) {
  while (n > 0 && len[n - 1] == 0) n--;
  return n;
}

int SingleSymbol(const uint32_t* freq, int n) {
  for (int i = 0; i < n; i++)
    if (freq[i]) return i;
  return 0;
}

// Gives the one symbol of a table a one-bit code beside an unused partner.
int TwoCodes(const uint32_t* freq, int n, uint8_t* len) {
  int only = SingleSymbol(freq, n);
  len[only] = 1;
  len[only == 0 ? 1 : 0] = 1;
  return 2;
}

// Bits one pt-table length takes: 3 bits up to 6, then a unary tail.
int PtLengthBits(int k) { return k <= 6 ? 3 : k - 3; }

}  // namespace

BlockCoder::BlockCoder(int dict_bits)
    : np_(dict_bits + 1), pbit_(dict_bits <= 13 ? 4 : 5) {}

void SymbolStats::Count(const uint16_t* code, const uint16_t* pos, int count) {
  memset(this, 0, sizeof *this);
  for (int i = 0; i < count; i++) {
    c[code[i]]++;
    if (code[i] >= 256) p[PositionCode(pos[i])]++;
  }
}

void SymbolStats::Sum(const SymbolStats& a, const SymbolStats& b) {
  for (int i = 0; i < kNumCodes; i++) c[i] = a.c[i] + b.c[i];
  for (int i = 0; i < 18; i++) p[i] = a.p[i] + b.p[i];
}

// The c lengths are themselves coded with the t table: lengths 1..16 as
// symbols 3..18, runs of zeros as symbols 0 (one zero), 1 (3..18 zeros with a
// 4-bit count) and 2 (20 and more with a 9-bit count).
// A table with one symbol is sent as "only this symbol" and its code takes no
// bits. Some readers still ask for bits when they decode such a code and, at
// the very end of the stream, lose the last symbols; so the last block gives
// every symbol at least one bit.
void BlockCoder::BuildTables(const SymbolStats& stats, bool last) {
  c_freq_ = stats.c;
  p_freq_ = stats.p;
  c_used_ = BuildCodeLengths(c_freq_, kNumCodes, kMaxCodeBits, c_len_);
  if (last && c_used_ == 1) c_used_ = TwoCodes(c_freq_, kNumCodes, c_len_);
  memset(t_freq_, 0, sizeof t_freq_);
  if (c_used_ > 1) {
    int n = TrimmedCount(c_len_, kNumCodes);
    for (int i = 0; i < n;) {
      int k = c_len_[i++];
      if (k == 0) {
        int run = 1;
        while (i < n && c_len_[i] == 0) {
          i++;
          run++;
        }
        if (run <= 2) t_freq_[0] += run;
        else if (run <= 18) t_freq_[1]++;
        else if (run == 19) {
          t_freq_[0]++;
          t_freq_[1]++;
        } else t_freq_[2]++;
      } else {
        t_freq_[k + 2]++;
      }
    }
    t_used_ = BuildCodeLengths(t_freq_, kNt, kMaxCodeBits, t_len_);
  }
  p_used_ = BuildCodeLengths(p_freq_, np_, kMaxCodeBits, p_len_);
  if (last && p_used_ == 1) p_used_ = TwoCodes(p_freq_, np_, p_len_);
}

void BlockCoder::BuildCodesForWrite() {
  if (c_used_ > 1) {
    BuildCodes(t_len_, kNt, t_code_);
    BuildCodes(c_len_, kNumCodes, c_code_);
  } else {
    memset(c_code_, 0, sizeof c_code_);
  }
  if (p_used_ > 1) BuildCodes(p_len_, np_, p_code_);
  else memset(p_code_, 0, sizeof p_code_);
}

uint64_t BlockCoder::TableBits() const {
  uint64_t bits = 16;
  if (c_used_ > 1) {
    if (t_used_ > 1) {
      int n = TrimmedCount(t_len_, kNt);
      bits += kTBits;
      for (int i = 0; i < n; i++) {
        bits += PtLengthBits(t_len_[i]);
        if (i == 2) {
          bits += 2;
          int j = 3;
          while (j < 6 && t_len_[j] == 0) j++;
          i = j - 1;
        }
      }
    } else {
      bits += 2 * kTBits;
    }
    bits += kCBits;
    for (int i = 0; i < kNt; i++) bits += static_cast<uint64_t>(t_freq_[i]) * t_len_[i];
    bits += 4 * static_cast<uint64_t>(t_freq_[1]) + kCBits * static_cast<uint64_t>(t_freq_[2]);
  } else {
    bits += 2 * kTBits + 2 * kCBits;
  }
  if (p_used_ > 1) {
    int n = TrimmedCount(p_len_, np_);
    bits += pbit_;
    for (int i = 0; i < n; i++) bits += PtLengthBits(p_len_[i]);
  } else {
    bits += 2 * pbit_;
  }
  return bits;
}

uint64_t BlockCoder::Cost(const SymbolStats& stats) {
  BuildTables(stats, false);
  uint64_t bits = TableBits();
  for (int i = 0; i < kNumCodes; i++) bits += static_cast<uint64_t>(c_freq_[i]) * c_len_[i];
  for (int i = 0; i < np_; i++)
    bits += static_cast<uint64_t>(p_freq_[i]) * (p_len_[i] + (i > 1 ? i - 1 : 0));
  return bits;
}

void BlockCoder::WritePtLengths(const uint8_t* len, int n, int nbit, int special,
                                BitWriter& out) const {
  n = TrimmedCount(len, n);
  out.Put(static_cast<uint32_t>(n), nbit);
  for (int i = 0; i < n;) {
    int k = len[i++];
    if (k <= 6) out.Put(static_cast<uint32_t>(k), 3);
    else out.Put(0xFFFEu, k - 3);  // k - 4 ones and a zero
    if (i == special) {
      while (i < 6 && len[i] == 0) i++;
      out.Put(static_cast<uint32_t>(i - 3), 2);
    }
  }
}

void BlockCoder::WriteLiteralLengths(BitWriter& out) const {
  int n = TrimmedCount(c_len_, kNumCodes);
  out.Put(static_cast<uint32_t>(n), kCBits);
  for (int i = 0; i < n;) {
    int k = c_len_[i++];
    if (k == 0) {
      int run = 1;
      while (i < n && c_len_[i] == 0) {
        i++;
        run++;
      }
      if (run <= 2) {
        for (int j = 0; j < run; j++) out.Put(t_code_[0], t_len_[0]);
      } else if (run <= 18) {
        out.Put(t_code_[1], t_len_[1]);
        out.Put(static_cast<uint32_t>(run - 3), 4);
      } else if (run == 19) {
        out.Put(t_code_[0], t_len_[0]);
        out.Put(t_code_[1], t_len_[1]);
        out.Put(15, 4);
      } else {
        out.Put(t_code_[2], t_len_[2]);
        out.Put(static_cast<uint32_t>(run - 20), kCBits);
      }
    } else {
      out.Put(t_code_[k + 2], t_len_[k + 2]);
    }
  }
}

void BlockCoder::Write(const uint16_t* code, const uint16_t* pos, int count, BitWriter& out,
                       bool last) {
  stats_.Count(code, pos, count);
  BuildTables(stats_, last);
  BuildCodesForWrite();
  out.Put(static_cast<uint32_t>(count), 16);
  if (c_used_ > 1) {
    if (t_used_ > 1) {
      WritePtLengths(t_len_, kNt, kTBits, 3, out);
    } else {
      out.Put(0, kTBits);
      out.Put(static_cast<uint32_t>(SingleSymbol(t_freq_, kNt)), kTBits);
    }
    WriteLiteralLengths(out);
  } else {
    out.Put(0, kTBits);
    out.Put(0, kTBits);
    out.Put(0, kCBits);
    out.Put(static_cast<uint32_t>(SingleSymbol(c_freq_, kNumCodes)), kCBits);
  }
  if (p_used_ > 1) {
    WritePtLengths(p_len_, np_, pbit_, -1, out);
  } else {
    out.Put(0, pbit_);
    out.Put(static_cast<uint32_t>(SingleSymbol(p_freq_, np_)), pbit_);
  }
  for (int i = 0; i < count; i++) {
    int c = code[i];
    out.Put(c_code_[c], c_len_[c]);
    if (c >= 256) {
      uint32_t p = pos[i];
      int pc = PositionCode(p);
      out.Put(p_code_[pc], p_len_[pc]);
      if (pc > 1) out.Put(p, pc - 1);
    }
  }
}

}  // namespace lzh
