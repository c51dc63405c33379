// Most-significant-bit-first bit output into a caller-sized byte buffer, as
// the LZH Huffman stream is laid out. The caller drains whole bytes between
// blocks; partial bits stay in the accumulator.
#pragma once
#include <cstddef>
#include <cstdint>

namespace lzh {

class BitWriter {
 public:
  BitWriter(uint8_t* buffer, size_t capacity) : buffer_(buffer), capacity_(capacity) {}

  // Appends the low `count` bits of `value` (count <= 32).
  void Put(uint32_t value, int count) {
    acc_ = (acc_ << count) | (value & ((uint64_t{1} << count) - 1));
    bits_ += count;
    while (bits_ >= 8) {
      bits_ -= 8;
      buffer_[size_++] = static_cast<uint8_t>(acc_ >> bits_);
    }
  }

  // Pads the last partial byte with zero bits.
  void PadToByte() {
    if (bits_ > 0) Put(0, 8 - bits_);
  }

  size_t size() const { return size_; }
  // The bits of a last partial byte (fewer than 8), oldest first.
  int pending_count() const { return bits_; }
  uint8_t pending_bits() const { return static_cast<uint8_t>(acc_ & ((1u << bits_) - 1)); }
  size_t capacity() const { return capacity_; }
  const uint8_t* data() const { return buffer_; }
  // Forgets the whole bytes already handed on; pending bits stay.
  void ClearBytes() { size_ = 0; }
  void Reset() { size_ = 0; acc_ = 0; bits_ = 0; }

 private:
  uint8_t* buffer_;
  size_t capacity_;
  size_t size_ = 0;
  uint64_t acc_ = 0;
  int bits_ = 0;
};

}  // namespace lzh
