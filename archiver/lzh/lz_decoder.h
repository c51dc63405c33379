// The skeleton the LZ77 decoders share: bits in, a Window out. It hands out
// the window up to its end at each call, finishes a match the previous call
// cut, and stops a stream that has run past its data. A decoder supplies
// Step(stop), which decodes one symbol into the window through Literal()
// and Match(), and may see every byte it makes through Produced().
#pragma once
#include <algorithm>
#include <cstring>

#include "archiver/lzh/bit_reader.h"
#include "archiver/lzh/decoder_internal.h"
#include "archiver/lzh/window.h"

namespace lzh {

template <class Derived>
class LzDecoder : public Decoder {
 public:
  Error Decode(uint8_t* out, size_t size) override {
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

  Error DecodeView(uint8_t*, size_t size, const uint8_t** data, size_t* produced) override {
    Derived* self = static_cast<Derived*>(this);
    const size_t start = at_;
    const size_t stop = at_ + std::min(size, window_.size() - at_);
    if (pending_length_ && !Match(pending_distance_, pending_length_, stop)) return Error::kDamagedData;
    while (at_ < stop) {
      if (Cut()) return CutError();
      Error e = self->Step(stop);
      if (e != Error::kOk) return e;
    }
    *data = window_.data() + start;
    *produced = stop - start;
    at_ = window_.Wrap(at_);
    return Cut() ? CutError() : Error::kOk;
  }

 protected:
  // `window_bits`: log2 of the ring (at least one more than the farthest
  // distance); `fill`: what the history before the first byte reads as.
  LzDecoder(ByteSource* source, uint64_t offset, uint64_t size, int window_bits, uint8_t fill)
      : in_(source, offset, size), window_(window_bits, fill) {}

  // What a decoder sees of each byte it makes (runs of a match, literals);
  // false stops decoding as damaged.
  bool Produced(const uint8_t*, size_t) { return true; }

  bool Literal(uint8_t b) {
    uint8_t* p = window_.data() + at_++;
    *p = b;
    return static_cast<Derived*>(this)->Produced(p, 1);
  }

  // Copies `length` bytes from `distance` back, up to `stop`; the rest
  // waits for the next call.
  bool Match(size_t distance, size_t length, size_t stop) {
    size_t n = std::min(length, stop - at_);
    window_.CopyMatch(at_, distance, n);
    uint8_t* p = window_.data() + at_;
    at_ += n;
    pending_length_ = length - n;
    pending_distance_ = distance;
    return static_cast<Derived*>(this)->Produced(p, n);
  }

  // The stream has read well past its data: cut, or the source failed.
  bool Cut() const { return in_.Overrun() > kMaxOverrun; }
  Error CutError() const { return in_.Failed() ? Error::kReadError : Error::kTruncated; }

  BitReader in_;
  Window window_;
  size_t at_ = 0;  // next write position in the window
  size_t pending_length_ = 0, pending_distance_ = 0;
};

}  // namespace lzh
