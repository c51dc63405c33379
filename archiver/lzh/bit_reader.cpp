#include "archiver/lzh/bit_reader.h"

namespace lzh {

void BitReader::RefillSlow() {
  // Move the few bytes left to the front and top up from the source.
  size_t have = static_cast<size_t>(end_ - next_);
  memmove(buffer_, next_, have);
  next_ = buffer_;
  end_ = buffer_ + have;
  if (left_ > 0) {
    size_t want = kBufferSize - have;
    if (want > left_) want = static_cast<size_t>(left_);
    size_t got = source_->ReadAt(offset_, buffer_ + have, want);
    if (got < want) {
      if (source_->Failed()) failed_ = true;
      left_ = 0;  // a short source: the rest reads as zeros
    } else {
      left_ -= got;
    }
    offset_ += got;
    end_ += got;
  }
  if (left_ == 0 && end_ - next_ < 8) {
    // Pad with zeros so the fast path can run; count them.
    size_t pad = 8;
    memset(const_cast<uint8_t*>(end_), 0, pad);
    end_ += pad;
    padded_ += pad;
  }
  while (count_ < 56 && next_ < end_) {
    bits_ |= static_cast<uint64_t>(*next_++) << (56 - count_);
    count_ += 8;
  }
}

}  // namespace lzh
