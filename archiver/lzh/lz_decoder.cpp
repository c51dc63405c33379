#include "archiver/lzh/lz_decoder.h"

#include <algorithm>
#include <cstring>

namespace lzh {

Error LzDecoder::Decode(uint8_t* out, size_t size) {
  while (size > 0) {
    const uint8_t* data;
    size_t n;
    Error e = DecodeView(nullptr, size, &data, &n);
    if (e != Error::kOk) return e;
    memcpy(out, data, n);
    out += n;
    size -= n;
  }
  return Error::kOk;
}

// Decodes up to `size` bytes, as far as the ring's end, in the window.
Error LzDecoder::DecodeView(uint8_t*, size_t size, const uint8_t** data, size_t* produced) {
  const size_t start = at_;
  const size_t stop = at_ + std::min(size, window_.size() - at_);
  if (pending_length_ && !Match(pending_distance_, pending_length_, stop)) return Error::kDamagedData;
  while (at_ < stop) {
    Error e = Step(stop);
    if (e != Error::kOk) return e;
  }
  *data = window_.data() + start;
  *produced = stop - start;
  at_ = window_.Wrap(at_);
  return Cut() ? CutError() : Error::kOk;
}

bool LzDecoder::Match(size_t distance, size_t length, size_t stop) {
  size_t n = std::min(length, stop - at_);
  window_.CopyMatch(at_, distance, n);
  uint8_t* p = window_.data() + at_;
  at_ += n;
  pending_length_ = length - n;
  pending_distance_ = distance;
  return Produced(p, n);
}

}  // namespace lzh
