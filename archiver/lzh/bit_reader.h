// MSB-first bit input over a range of a ByteSource, with a 64-bit bit buffer.
// Past the end of the range it reads zero bits and counts them, so decoders
// need no end checks in their inner loops; Overrun() tells when a stream has
// read far beyond its data (a cut or damaged entry).
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "archiver/lzh/io.h"

namespace lzh {

inline uint64_t LoadBigEndian64(const uint8_t* p) {
  uint64_t v;
  memcpy(&v, p, 8);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  return v;
#else
  return __builtin_bswap64(v);
#endif
}

// A BitReader's state held in local variables for a decoder's inner loop
// (stores into the output window would otherwise force it back to memory
// after every symbol). Valid while `next` stays at or below the reader's
// FastLimit(): every Refill then has eight bytes to load. Only the low six
// bits of `count` mean anything, so DropMod64 can take a table entry whose
// low six bits are its code length as it is.
struct BitCursor {
  uint64_t bits;
  unsigned count;
  const uint8_t* next;

  inline void Refill() {
    unsigned c = count & 63;
    bits |= LoadBigEndian64(next) >> c;
    next += (63 - c) >> 3;
    count = c | 56;
  }
  inline uint32_t Peek(unsigned n) const { return static_cast<uint32_t>(bits >> (64 - n)); }
  inline void Drop(unsigned n) {
    bits <<= n;
    count -= n;
  }
  inline void DropMod64(uint32_t n) {
    bits <<= (n & 63);
    count -= n;
  }
  // Takes n bits, n in 0..31, without a branch (the shift in two steps
  // keeps n == 0 defined).
  inline uint32_t TakeAny(unsigned n) {
    uint32_t v = static_cast<uint32_t>((bits >> 1) >> (63 - n));
    Drop(n);
    return v;
  }
};

class BitReader {
 public:
  BitReader(ByteSource* source, uint64_t offset, uint64_t size) : source_(source), offset_(offset), left_(size) {}

  // Guarantees at least 56 valid bits in the buffer.
  inline void Refill() {
    if (end_ - next_ >= 8) {
      bits_ |= LoadBigEndian64(next_) >> count_;
      next_ += (63 - count_) >> 3;
      count_ |= 56;
    } else {
      RefillSlow();
    }
  }
  // The next n bits (1..32) without consuming them; Refill() first.
  inline uint32_t Peek(unsigned n) const { return static_cast<uint32_t>(bits_ >> (64 - n)); }
  inline void Drop(unsigned n) {
    bits_ <<= n;
    count_ -= n;
  }
  inline void DropMod64(uint32_t n) { Drop(n & 63); }
  inline uint32_t Take(unsigned n) {
    if (n == 0) return 0;
    uint32_t v = Peek(n);
    Drop(n);
    return v;
  }
  inline uint32_t TakeAny(unsigned n) {
    uint32_t v = static_cast<uint32_t>((bits_ >> 1) >> (63 - n));
    Drop(n);
    return v;
  }
  // Refills and takes n bits (0..32); for table reading outside hot loops.
  uint32_t Get(unsigned n) {
    Refill();
    return Take(n);
  }
  // Whole bytes for byte-oriented formats (LArc -lz5-): drops to a byte
  // boundary is never needed there, they read bytes only.
  uint8_t GetByte() { return static_cast<uint8_t>(Get(8)); }

  // The state for a fast inner loop, and its return.
  BitCursor Cursor() const { return BitCursor{bits_, count_, next_}; }
  void Resume(const BitCursor& cursor) {
    bits_ = cursor.bits;
    count_ = cursor.count & 63;
    next_ = cursor.next;
  }
  // Highest `next` at which a cursor may still Refill (the buffer has slack,
  // so this never points before it in a way that matters: compare only).
  const uint8_t* FastLimit() const { return end_ - 8; }

  // Zero bytes supplied beyond the end of the range, roughly.
  uint64_t Overrun() const { return padded_ > Unread() ? padded_ - Unread() : 0; }
  bool Failed() const { return failed_; }

 private:
  uint64_t Unread() const { return static_cast<uint64_t>(end_ - next_) + count_ / 8; }
  void RefillSlow();

  static constexpr size_t kBufferSize = 1 << 15;
  ByteSource* source_;
  uint64_t offset_;
  uint64_t left_;  // bytes of the range not yet read into the buffer
  uint8_t buffer_[kBufferSize + 16];
  const uint8_t* next_ = buffer_;
  const uint8_t* end_ = buffer_;
  uint64_t bits_ = 0;
  unsigned count_ = 0;
  uint64_t padded_ = 0;  // zero bytes appended after the range
  bool failed_ = false;
};

}  // namespace lzh
