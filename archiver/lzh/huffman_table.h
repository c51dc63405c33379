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

// Entry layout shared by every table size.
struct HuffmanEntry {
  static constexpr uint32_t kLengthMask = 0x1F, kSub = 0x20, kInvalid = 0x40;
};

// Fills `entries` (a primary table of 2^primary_bits entries followed by room
// for the second-level ones) from code lengths; one copy for every size.
// See HuffmanTable::Build.
bool BuildHuffmanTable(uint32_t* entries, int primary_bits, const uint8_t* lengths, int count,
                       const uint32_t* values);

template <int kSymbols, int kPrimaryBits>
class HuffmanTable {
 public:
  static constexpr uint32_t kLengthMask = HuffmanEntry::kLengthMask, kSub = HuffmanEntry::kSub,
                            kInvalid = HuffmanEntry::kInvalid;
  static_assert(kSymbols <= 512, "BuildHuffmanTable sorts at most 512 symbols");

  // Builds the table from code lengths (0 = unused); values[symbol], when
  // given, is an entry's upper bits (bits 0-6 clear), else the symbol << 8.
  // Incomplete codes are accepted (unused codes decode as kInvalid);
  // over-subscribed ones are not.
  bool Build(const uint8_t* lengths, int count, const uint32_t* values = nullptr) {
    return count <= kSymbols && BuildHuffmanTable(entries_, kPrimaryBits, lengths, count, values);
  }
  // Makes every code decode to `entry_value` (or `symbol`) using no bits.
  void SetConstantValue(uint32_t entry_value) {
    for (int i = 0; i < (1 << kPrimaryBits); ++i) entries_[i] = entry_value;
  }
  void SetConstant(int symbol) { SetConstantValue(static_cast<uint32_t>(symbol) << 8); }

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
  // Each symbol can own at most one second-level table of 2^(16-primary).
  static constexpr int kSize = (1 << kPrimaryBits) + kSymbols * (1 << (16 - kPrimaryBits));
  uint32_t entries_[kSize];
};

}  // namespace lzh
