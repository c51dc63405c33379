// PMarc codes literals by their place in a most-recently-used list of byte
// values; both -pm1- and -pm2- keep it the same way.
#pragma once
#include <cstdint>

namespace lzh {

// Byte values, most recent first, as a circular doubly linked list.
class RecentBytes {
 public:
  RecentBytes() {
    for (int i = 0; i < 256; ++i) {
      older_[i] = static_cast<uint8_t>(i + 1);
      newer_[i] = static_cast<uint8_t>(i - 1);
    }
    // Initial order: printable ASCII, control codes, 0xA0-0xDF, 0x80-0x9F,
    // 0xE0-0xFF.
    head_ = 0x20;
    Link(0x7F, 0x00);
    Link(0x1F, 0xA0);
    Link(0xDF, 0x80);
    Link(0x9F, 0xE0);
    Link(0xFF, 0x20);
  }
  uint8_t At(unsigned index) const {
    uint8_t b = head_;
    if (index < 128) {
      for (unsigned i = 0; i < index; ++i) b = older_[b];
    } else {
      for (unsigned i = 0; i < 256 - index; ++i) b = newer_[b];
    }
    return b;
  }
  void MoveToFront(uint8_t b) {
    if (b == head_) return;
    older_[newer_[b]] = older_[b];
    newer_[older_[b]] = newer_[b];
    older_[b] = head_;
    newer_[b] = newer_[head_];
    older_[newer_[head_]] = b;
    newer_[head_] = b;
    head_ = b;
  }

 private:
  void Link(uint8_t newer, uint8_t older) {
    older_[newer] = older;
    newer_[older] = newer;
  }
  uint8_t older_[256], newer_[256];
  uint8_t head_;
};

}  // namespace lzh
