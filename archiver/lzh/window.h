// The sliding window every LZ77 decoder writes into: a power-of-two ring with
// slack so that 16-byte copies may run past the end of a match. Decoders
// never reach back more than half the ring, so what such a copy overwrites
// past the match is history nobody needs.
//
// The history before the first byte reads as the fill byte, but most entries
// never look there: the ring is filled only when a match first reaches back
// past the start, and counts as filled once the output has gone all the way
// round (Wrap).
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

namespace lzh {

class Window {
 public:
  static constexpr size_t kSlack = 16;
  // `bits`: log2 of the ring size; `fill`: the byte the history starts as.
  Window(int bits, uint8_t fill)
      : size_(size_t{1} << bits), mask_(size_ - 1), fill_(fill), data_(new uint8_t[size_ + kSlack]) {}
  size_t size() const { return size_; }
  size_t mask() const { return mask_; }
  uint8_t* data() { return data_.get(); }

  // The next write position after output up to `at` (at <= size()).
  size_t Wrap(size_t at) {
    if (at == size_) filled_ = true;
    return at & mask_;
  }

  // Copies `length` bytes from `distance` (1..size()/2) back to position
  // `at` (no wrap of the destination: at + length <= size()). Overlapping
  // copies repeat the pattern, as LZ77 needs.
  inline void CopyMatch(size_t at, size_t distance, size_t length) {
    if (distance > at) return CopyAcrossStart(at, distance, length);
    CopyBack(data_.get() + at, distance, length);
  }
  // CopyMatch for a decoder's inner loop that keeps data() in a register
  // (its own byte stores would make the window's pointer reload).
  static inline void CopyMatch(uint8_t* window, Window* self, size_t at, size_t distance, size_t length) {
    if (distance > at) return self->CopyAcrossStart(at, distance, length);
    CopyBack(window + at, distance, length);
  }

 private:
  // The source lies in the same pass of the ring, `distance` back.
  static inline void CopyBack(uint8_t* dst, size_t distance, size_t length) {
    const uint8_t* src = dst - distance;
    if (distance >= 16) {
      uint8_t* end = dst + length;
      do {
        memcpy(dst, src, 16);
        dst += 16;
        src += 16;
      } while (dst < end);
    } else if (distance >= 8) {
      uint8_t* end = dst + length;
      do {
        memcpy(dst, src, 8);
        dst += 8;
        src += 8;
      } while (dst < end);
    } else if (distance == 1) {
      memset(dst, *src, length);
    } else {
      for (size_t i = 0; i < length; ++i) dst[i] = src[i];
    }
  }

  // The source starts before the ring's start: in older history at its end
  // or, early on, in the fill before the first byte.
  void CopyAcrossStart(size_t at, size_t distance, size_t length) {
    uint8_t* d = data_.get();
    if (!filled_) {
      // Everything from here on is yet unwritten (or scratch from copies).
      memset(d + at, fill_, size_ + kSlack - at);
      filled_ = true;
    }
    size_t from = (at - distance) & mask_;
    if (from + length <= size_) {
      memmove(d + at, d + from, length);  // the source lies after the destination
    } else {
      for (size_t i = 0; i < length; ++i) d[at + i] = d[(from + i) & mask_];
    }
  }

  size_t size_;
  size_t mask_;
  uint8_t fill_;
  bool filled_ = false;
  std::unique_ptr<uint8_t[]> data_;
};

}  // namespace lzh
