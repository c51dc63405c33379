// LArc's methods: -lzs- (2 KiB window, bit-coded flags) and -lz5- (4 KiB
// window with a prepared history, flag bytes). Both address the ring by
// absolute position, the way the original LZSS coder kept it.
#include <cstring>

#include "archiver/lzh/bit_reader.h"
#include "archiver/lzh/decoder_internal.h"

namespace lzh {
namespace {

class LarcDecoder : public Decoder {
 public:
  LarcDecoder(ByteSource* source, uint64_t offset, uint64_t size, bool lz5)
      : in_(source, offset, size), lz5_(lz5), mask_(lz5 ? 0xFFF : 0x7FF) {
    if (lz5) {
      // The history -lz5- starts from: runs of every byte value, both byte
      // ramps, zeros and blanks; the 18 bytes where writing begins are
      // zeros, and a first match may reach them.
      size_t i = 0;
      for (int b = 0; b < 256; ++b, i += 13) memset(ring_ + i, b, 13);
      for (int b = 0; b < 256; ++b) ring_[i++] = static_cast<uint8_t>(b);
      for (int b = 0; b < 256; ++b) ring_[i++] = static_cast<uint8_t>(255 - b);
      memset(ring_ + i, 0, 128);
      i += 128;
      memset(ring_ + i, ' ', 4096 - 18 - i);
      memset(ring_ + 4096 - 18, 0, 18);
      at_ = 4096 - 18;
    } else {
      memset(ring_, ' ', sizeof ring_);
      at_ = 2048 - 17;
    }
  }

  Error Decode(uint8_t* out, size_t size) override {
    while (size > 0) {
      if (pending_) {
        uint8_t b = ring_[from_ & mask_];
        ++from_;
        --pending_;
        Put(b, &out, &size);
        continue;
      }
      if (in_.Overrun() > kMaxOverrun) return in_.Failed() ? Error::kReadError : Error::kTruncated;
      if (lz5_) {
        if (flag_count_ == 0) {
          flags_ = in_.GetByte();
          flag_count_ = 8;
        }
        --flag_count_;
        bool literal = flags_ & 1;
        flags_ >>= 1;
        if (literal) {
          Put(in_.GetByte(), &out, &size);
        } else {
          unsigned lo = in_.GetByte(), hi = in_.GetByte();
          from_ = lo | ((hi & 0xF0u) << 4);
          pending_ = (hi & 0x0F) + 3;
        }
      } else {
        in_.Refill();
        if (in_.Take(1)) {
          Put(static_cast<uint8_t>(in_.Take(8)), &out, &size);
        } else {
          from_ = in_.Take(11);
          pending_ = in_.Take(4) + 2;
        }
      }
    }
    if (in_.Overrun() > kMaxOverrun) return in_.Failed() ? Error::kReadError : Error::kTruncated;
    return Error::kOk;
  }

 private:
  void Put(uint8_t b, uint8_t** out, size_t* size) {
    ring_[at_] = b;
    at_ = (at_ + 1) & mask_;
    *(*out)++ = b;
    --*size;
  }

  BitReader in_;
  bool lz5_;
  size_t mask_;
  uint8_t ring_[4096];
  size_t at_;
  size_t from_ = 0;
  unsigned pending_ = 0;
  unsigned flags_ = 0, flag_count_ = 0;
};

}  // namespace

std::unique_ptr<Decoder> NewLzsDecoder(ByteSource* source, uint64_t offset, uint64_t size) {
  return std::unique_ptr<Decoder>(new LarcDecoder(source, offset, size, false));
}

std::unique_ptr<Decoder> NewLz5Decoder(ByteSource* source, uint64_t offset, uint64_t size) {
  return std::unique_ptr<Decoder>(new LarcDecoder(source, offset, size, true));
}

}  // namespace lzh
