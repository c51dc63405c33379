// LArc's methods: -lzs- (2 KiB window, bit-coded flags) and -lz5- (4 KiB
// window with a prepared history, flag bytes). Both address the ring by
// absolute position, the way the original LZSS coder kept it; the window,
// twice that ring, turns them into distances.
#include <cstring>

#include "archiver/lzh/lz_decoder.h"

namespace lzh {
namespace {

class LarcDecoder final : public LzDecoder {
 public:
  // Window position p stands for the coder's ring place (p - lead) mod the
  // ring: -lzs- writes first at 2048 - 17, -lz5- at 4096 - 18 (window
  // position 4096, after the history laid out before it).
  LarcDecoder(ByteSource* source, uint64_t offset, uint64_t size, bool lz5)
      : LzDecoder(source, offset, size, lz5 ? 13 : 12, ' '),
        lz5_(lz5),
        mask_(lz5 ? 0xFFF : 0x7FF),
        lead_(lz5 ? 18 : 17) {
    if (lz5) {
      // The history -lz5- starts from: runs of every byte value, both byte
      // ramps, zeros and blanks; the 18 bytes where writing begins are
      // zeros, and a first match may reach them.
      uint8_t* w = window_.data();
      memset(w, 0, 18);
      uint8_t* ring = w + 18;
      size_t i = 0;
      for (int b = 0; b < 256; ++b, i += 13) memset(ring + i, b, 13);
      for (int b = 0; b < 256; ++b) ring[i++] = static_cast<uint8_t>(b);
      for (int b = 0; b < 256; ++b) ring[i++] = static_cast<uint8_t>(255 - b);
      memset(ring + i, 0, 128);
      i += 128;
      memset(ring + i, ' ', 4096 - 18 - i);
      at_ = 4096;
    }
  }

  Error Step(size_t stop) override { return EachSymbol(this, stop); }
  Error Symbol(size_t stop) {
    if (lz5_) {
      if (flag_count_ == 0) {
        flags_ = in_.GetByte();
        flag_count_ = 8;
      }
      --flag_count_;
      bool literal = flags_ & 1;
      flags_ >>= 1;
      if (literal) {
        Literal(in_.GetByte());
      } else {
        unsigned lo = in_.GetByte(), hi = in_.GetByte();
        CopyFromPlace(lo | ((hi & 0xF0u) << 4), (hi & 0x0F) + 3, stop);
      }
    } else {
      in_.Refill();
      if (in_.Take(1)) {
        Literal(static_cast<uint8_t>(in_.Take(8)));
      } else {
        size_t place = in_.Take(11);
        CopyFromPlace(place, in_.Take(4) + 2, stop);
      }
    }
    return Error::kOk;
  }

 private:
  // A match from a place in the ring; the place being written is the
  // farthest back.
  void CopyFromPlace(size_t place, size_t length, size_t stop) {
    size_t here = (at_ - lead_) & mask_;
    Match(((here - place - 1) & mask_) + 1, length, stop);
  }

  bool lz5_;
  size_t mask_, lead_;
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
