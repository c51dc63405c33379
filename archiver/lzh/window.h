// The sliding window every LZ77 decoder writes into: a power-of-two ring with
// slack so that 8-byte copies may run past the end of a chunk.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

namespace lzh {

class Window {
 public:
  // `bits`: log2 of the ring size; `fill`: the byte the history starts as.
  Window(int bits, uint8_t fill) : size_(size_t{1} << bits), mask_(size_ - 1), data_(new uint8_t[size_ + 16]) {
    memset(data_.get(), fill, size_ + 16);
  }
  size_t size() const { return size_; }
  size_t mask() const { return mask_; }
  uint8_t* data() { return data_.get(); }

  // Copies `length` bytes from `distance` back to position `at` (no wrap of
  // the destination: at + length <= size()). Overlapping copies repeat the
  // pattern, as LZ77 needs.
  inline void CopyMatch(size_t at, size_t distance, size_t length) {
    uint8_t* d = data_.get();
    size_t from = (at - distance) & mask_;
    if (from + length <= size_ && from < at) {
      uint8_t* dst = d + at;
      const uint8_t* src = d + from;
      if (distance >= 8) {
        // May write up to 7 bytes past the end: they lie in the ring's slack
        // or in the oldest history, which the window is sized to not need.
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
    } else {
      for (size_t i = 0; i < length; ++i) d[at + i] = d[(from + i) & mask_];
    }
  }

 private:
  size_t size_;
  size_t mask_;
  std::unique_ptr<uint8_t[]> data_;
};

}  // namespace lzh
