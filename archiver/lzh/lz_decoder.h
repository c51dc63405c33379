// The skeleton the LZ77 decoders share: bits in, a Window out. It hands out
// the window up to its end at each call, finishes a match the previous call
// cut, and stops a stream that has run past its data. A decoder supplies
// Step(), which decodes into the window through Literal() and Match().
#pragma once
#include "archiver/lzh/bit_reader.h"
#include "archiver/lzh/decoder_internal.h"
#include "archiver/lzh/window.h"

namespace lzh {

class LzDecoder : public Decoder {
 public:
  Error Decode(uint8_t* out, size_t size) override;
  Error DecodeView(uint8_t* scratch, size_t size, const uint8_t** data, size_t* produced) override;

 protected:
  // `window_bits`: log2 of the ring (at least one more than the farthest
  // distance); `fill`: what the history before the first byte reads as.
  LzDecoder(ByteSource* source, uint64_t offset, uint64_t size, int window_bits, uint8_t fill)
      : in_(source, offset, size), window_(window_bits, fill) {}

  // Decodes one symbol or more, never past `stop`.
  virtual Error Step(size_t stop) = 0;
  // A Step of decoders that go a symbol at a time (self->Symbol(stop)),
  // each after a check for a cut stream, with no virtual call between.
  template <class Final>
  static Error EachSymbol(Final* self, size_t stop) {
    while (self->at_ < stop) {
      if (self->Cut()) return self->CutError();
      Error e = self->Symbol(stop);
      if (e != Error::kOk) return e;
    }
    return Error::kOk;
  }
  // Sees the bytes of each match (also those a previous call cut); false
  // stops decoding as damaged.
  virtual bool Produced(const uint8_t*, size_t) { return true; }

  void Literal(uint8_t b) { window_.data()[at_++] = b; }
  // Copies `length` bytes from `distance` back, up to `stop`; the rest
  // waits for the next call.
  bool Match(size_t distance, size_t length, size_t stop);

  // The stream has read well past its data: cut, or the source failed.
  bool Cut() const { return in_.Overrun() > kMaxOverrun; }
  Error CutError() const { return in_.Failed() ? Error::kReadError : Error::kTruncated; }

  BitReader in_;
  Window window_;
  size_t at_ = 0;  // next write position in the window
  size_t pending_length_ = 0, pending_distance_ = 0;
};

}  // namespace lzh
