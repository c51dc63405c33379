// Table-driven decoding of canonical Huffman codes (code lengths up to 16),
// as the -lh4- to -lh7- family stores them: a primary table indexed by the
// next `kPrimaryBits` bits and small second-level tables for longer codes.
#pragma once
#include <cstdint>

#include "archiver/lzh/bit_reader.h"

namespace lzh {

template <int kSymbols, int kPrimaryBits>
class HuffmanTable {
 public:
  // Builds the table from code lengths (0 = unused). Incomplete codes are
  // accepted (unused codes decode as errors); over-subscribed ones are not.
  bool Build(const uint8_t* lengths, int count);
  // Makes every code decode to `symbol` using no bits.
  void SetConstant(int symbol);

  // Decodes one symbol; needs at least 16 valid bits (Refill first).
  // Returns -1 for a code that the stream's lengths left unused.
  template <class Bits>  // BitReader or BitCursor
  inline int Decode(Bits* in) const {
    uint32_t e = entries_[in->Peek(kPrimaryBits)];
    if (e & kSub) {
      in->Drop(kPrimaryBits);
      e = entries_[(e >> 16) + in->Peek(e & 0xFF)];
    }
    if (e & kInvalid) return -1;
    in->Drop(e & 0xFF);
    return static_cast<int>(e >> 16);
  }

 private:
  static constexpr uint32_t kSub = 0x100, kInvalid = 0x200;
  // Each symbol can own at most one second-level table of 2^(16-primary).
  static constexpr int kSize = (1 << kPrimaryBits) + kSymbols * (1 << (16 - kPrimaryBits));
  uint32_t entries_[kSize];
};

template <int kSymbols, int kPrimaryBits>
void HuffmanTable<kSymbols, kPrimaryBits>::SetConstant(int symbol) {
  for (int i = 0; i < (1 << kPrimaryBits); ++i) entries_[i] = static_cast<uint32_t>(symbol) << 16;
}

template <int kSymbols, int kPrimaryBits>
bool HuffmanTable<kSymbols, kPrimaryBits>::Build(const uint8_t* lengths, int count) {
  if (count > kSymbols) return false;
  int bl_count[17] = {0};
  for (int i = 0; i < count; ++i) {
    if (lengths[i] > 16) return false;
    bl_count[lengths[i]]++;
  }
  bl_count[0] = 0;
  // Kraft check and the first code of each length.
  uint32_t next_code[18];
  uint32_t code = 0;
  int left = 1;
  for (int len = 1; len <= 16; ++len) {
    left = (left << 1) - bl_count[len];
    if (left < 0) return false;
    next_code[len] = code;
    code = (code + bl_count[len]) << 1;
  }
  constexpr int P = kPrimaryBits;
  for (int i = 0; i < (1 << P); ++i) entries_[i] = kInvalid;
  // Longest code under each primary prefix decides its second-level size.
  uint8_t sub_bits[1 << P] = {0};
  uint32_t codes[kSymbols];
  for (int s = 0; s < count; ++s) {
    int len = lengths[s];
    if (!len) continue;
    codes[s] = next_code[len]++;
    if (len > P) {
      uint32_t prefix = codes[s] >> (len - P);
      if (len - P > sub_bits[prefix]) sub_bits[prefix] = static_cast<uint8_t>(len - P);
    }
  }
  int used = 1 << P;
  for (int prefix = 0; prefix < (1 << P); ++prefix) {
    if (!sub_bits[prefix]) continue;
    int size = 1 << sub_bits[prefix];
    entries_[prefix] = (static_cast<uint32_t>(used) << 16) | kSub | sub_bits[prefix];
    for (int i = 0; i < size; ++i) entries_[used + i] = kInvalid;
    used += size;
  }
  for (int s = 0; s < count; ++s) {
    int len = lengths[s];
    if (!len) continue;
    if (len <= P) {
      uint32_t first = codes[s] << (P - len);
      uint32_t entry = (static_cast<uint32_t>(s) << 16) | static_cast<uint32_t>(len);
      for (uint32_t i = 0; i < (1u << (P - len)); ++i) entries_[first + i] = entry;
    } else {
      uint32_t prefix = codes[s] >> (len - P);
      uint32_t e = entries_[prefix];
      int bits = static_cast<int>(e & 0xFF);
      uint32_t base = e >> 16;
      int extra = len - P;
      uint32_t low = codes[s] & ((1u << extra) - 1);
      uint32_t first = low << (bits - extra);
      uint32_t entry = (static_cast<uint32_t>(s) << 16) | static_cast<uint32_t>(extra);
      for (uint32_t i = 0; i < (1u << (bits - extra)); ++i) entries_[base + first + i] = entry;
    }
  }
  return true;
}

}  // namespace lzh
