// Table-driven decoding of canonical Huffman codes (code lengths up to 16),
// as the -lh4- to -lh7- family stores them: a primary table indexed by the
// next `kPrimaryBits` bits and small second-level tables for longer codes.
// An entry holds the bits its code takes in the low five bits and a value
// chosen by the caller from bit 7 up (a literal with a flag, a match length,
// a distance base and its extra bits), so one lookup decodes a symbol into
// what the decoder needs next.
#pragma once
#include <cstdint>

#include "archiver/lzh/bit_reader.h"

namespace lzh {

template <int kSymbols, int kPrimaryBits>
class HuffmanTable {
 public:
  static constexpr uint32_t kLengthMask = 0x1F, kSub = 0x20, kInvalid = 0x40;

  // Builds the table from code lengths (0 = unused); `value(symbol)` gives an
  // entry's upper bits (bits 0-6 clear). Incomplete codes are accepted
  // (unused codes decode as kInvalid); over-subscribed ones are not.
  template <class Value>
  bool Build(const uint8_t* lengths, int count, Value value);
  bool Build(const uint8_t* lengths, int count) { return Build(lengths, count, SymbolValue); }
  // Makes every code decode to `entry_value` (or `symbol`) using no bits.
  void SetConstantValue(uint32_t entry_value) {
    for (int i = 0; i < (1 << kPrimaryBits); ++i) entries_[i] = entry_value;
  }
  void SetConstant(int symbol) { SetConstantValue(SymbolValue(symbol)); }

  // Decodes one code and consumes its bits; needs at least 16 valid bits
  // (Refill first). The entry's kInvalid bit marks a code the stream's
  // lengths left unused.
  template <class Bits>  // BitReader or BitCursor
  inline uint32_t Lookup(Bits* in) const {
    return Finish(First(in->Peek(kPrimaryBits)), in);
  }
  // Lookup in two steps, so that a decoder can fetch the next entry early:
  // the primary entry for the next kPrimaryBits bits, then the final entry
  // (from a second-level table for long codes) with its bits consumed.
  inline uint32_t First(uint32_t index) const { return entries_[index]; }
  template <class Bits>
  inline uint32_t Finish(uint32_t e, Bits* in) const {
    if (e & kSub) {
      in->Drop(kPrimaryBits);
      e = entries_[(e >> 8) + in->Peek(e & kLengthMask)];
    }
    in->DropMod64(e);  // a final entry's low six bits are its length
    return e;
  }
  // The symbol of a table built with symbol values, or -1 for an unused code.
  template <class Bits>
  inline int Decode(Bits* in) const {
    uint32_t e = Lookup(in);
    return e & kInvalid ? -1 : static_cast<int>(e >> 8);
  }

 private:
  static uint32_t SymbolValue(int symbol) { return static_cast<uint32_t>(symbol) << 8; }
  static void Fill(uint32_t* p, uint32_t n, uint32_t e) {
    for (uint32_t i = 0; i < n; ++i) p[i] = e;
  }
  // Each symbol can own at most one second-level table of 2^(16-primary).
  static constexpr int kSize = (1 << kPrimaryBits) + kSymbols * (1 << (16 - kPrimaryBits));
  uint32_t entries_[kSize];
};

// Canonical codes taken in order of (length, symbol) cover the code space
// from its start without gaps, so the table fills front to back: one run of
// entries per short code, then one second-level table per primary prefix
// that longer codes share, then kInvalid for what an incomplete code leaves.
template <int kSymbols, int kPrimaryBits>
template <class Value>
bool HuffmanTable<kSymbols, kPrimaryBits>::Build(const uint8_t* lengths, int count, Value value) {
  constexpr int P = kPrimaryBits;
  if (count > kSymbols) return false;
  // Two halves counted apart: runs of equal lengths would otherwise wait on
  // their own increments. Lengths over 16 are refused after counting (the
  // mask keeps them inside the arrays meanwhile).
  int bl_count[32] = {0}, odd_count[32] = {0};
  unsigned longest = 0;
  int i = 0;
  for (; i + 1 < count; i += 2) {
    bl_count[lengths[i] & 31]++;
    odd_count[lengths[i + 1] & 31]++;
    longest |= lengths[i] | lengths[i + 1];
  }
  if (i < count) {
    bl_count[lengths[i] & 31]++;
    longest |= lengths[i];
  }
  if (longest > 31) return false;
  for (int len = 17; len < 32; ++len)
    if (bl_count[len] + odd_count[len]) return false;
  for (int len = 1; len <= 16; ++len) bl_count[len] += odd_count[len];
  bl_count[0] = 0;
  // Kraft check and where each length's symbols start in sorted order.
  int start[18];
  int left = 1;
  start[1] = 0;
  for (int len = 1; len <= 16; ++len) {
    left = (left << 1) - bl_count[len];
    if (left < 0) return false;
    start[len + 1] = start[len] + bl_count[len];
  }
  const int used = start[17];
  uint16_t sorted[kSymbols];
  for (int s = 0; s < count; ++s)
    if (lengths[s]) sorted[start[lengths[s]]++] = static_cast<uint16_t>(s);

  uint32_t* t = entries_;
  uint32_t pos = 0;  // next primary entry
  i = 0;             // next symbol in sorted order
  for (; i < used && lengths[sorted[i]] <= P; ++i) {
    int len = lengths[sorted[i]];
    uint32_t run = 1u << (P - len);
    Fill(t + pos, run, value(sorted[i]) | static_cast<uint32_t>(len));
    pos += run;
  }
  // Longer codes, in 16-bit code space: each primary prefix they share gets a
  // table as wide as its longest code needs.
  uint32_t code = pos << (16 - P);
  uint32_t next_table = 1u << P;
  while (i < used) {
    uint32_t prefix = code >> (16 - P);
    int longest = P + 1, end = i;
    for (uint32_t c = code; end < used && (c >> (16 - P)) == prefix; ++end) {
      longest = lengths[sorted[end]];
      c += 1u << (16 - longest);
      code = c;
    }
    int bits = longest - P;
    t[prefix] = (next_table << 8) | kSub | static_cast<uint32_t>(bits);
    uint32_t* sub = t + next_table;
    uint32_t at = 0;
    for (; i < end; ++i) {
      int len = lengths[sorted[i]];
      uint32_t run = 1u << (longest - len);
      Fill(sub + at, run, value(sorted[i]) | static_cast<uint32_t>(len - P));
      at += run;
    }
    Fill(sub + at, (1u << bits) - at, kInvalid);
    next_table += 1u << bits;
    pos = prefix + 1;
  }
  Fill(t + pos, (1u << P) - pos, kInvalid);
  return true;
}

}  // namespace lzh
