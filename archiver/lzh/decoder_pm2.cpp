// PMarc's -pm2-: an 8 KiB history; literals are coded as their place in a
// most-recently-used list of byte values, copies by a length/offset code.
// The code trees are re-sent at fixed output positions (1, 2, 4, 8 KiB and
// then every 4 KiB), so the tree state changes with the byte count.
#include "archiver/lzh/huffman_table.h"
#include "archiver/lzh/lz_decoder.h"
#include "archiver/lzh/recent_bytes.h"

namespace lzh {
namespace {

// (base, extra bits) of literal places and of long copy lengths.
const uint16_t kPlaces[8][2] = {{0, 3}, {8, 3}, {16, 4}, {32, 5}, {64, 5}, {96, 5}, {128, 6}, {192, 6}};
const uint16_t kLongCopies[6][2] = {{17, 3}, {25, 3}, {33, 5}, {65, 6}, {129, 7}, {256, 0}};

class Pm2Decoder final : public LzDecoder {
 public:
  // Distances reach 8192 back.
  Pm2Decoder(ByteSource* source, uint64_t offset, uint64_t size) : LzDecoder(source, offset, size, 14, ' ') {}

  Error Step(size_t stop) override { return EachSymbol(this, stop); }
  Error Symbol(size_t stop) {
    if (!started_) {
      started_ = true;
      in_.Get(1);  // unused
      if (!ReadCodeTree() || !ReadOffsetTree(5)) return Error::kDamagedData;
      rebuild_left_ = 1024;
      if (Cut()) return CutError();
    }
    in_.Refill();
    int code = codes_.Decode(&in_);
    if (code < 0) return Error::kDamagedData;
    if (code < 8) {
      unsigned place = kPlaces[code][0] + in_.Take(kPlaces[code][1]);
      return Put(recent_.At(place)) ? Error::kOk : Error::kDamagedData;
    }
    code -= 8;
    unsigned count;
    if (code < 15) {
      count = static_cast<unsigned>(code) + 2;
    } else if (code - 15 < 6) {
      count = kLongCopies[code - 15][0] + in_.Take(kLongCopies[code - 15][1]);
    } else {
      return Error::kDamagedData;
    }
    unsigned distance = 0;  // bytes back from the last one written
    if (code == 0) {
      distance = in_.Take(6);
    } else if (code < 20) {
      in_.Refill();
      int v = offsets_.Decode(&in_);
      if (v < 0) return Error::kDamagedData;
      distance = v == 0 ? in_.Take(6) : (1u << (v + 5)) + in_.Take(static_cast<unsigned>(v + 5));
    }
    return Match(distance + 1, count, stop) ? Error::kOk : Error::kDamagedData;
  }

 private:
  // Every byte moves up the recent list; the trees change after fixed
  // counts (a match is shorter than the shortest interval, and reads no
  // bits, so the change may come after all of it).
  bool Produced(const uint8_t* p, size_t n) override {
    for (size_t i = 0; i < n; ++i) recent_.MoveToFront(p[i]);
    if (n < rebuild_left_) {
      rebuild_left_ -= static_cast<unsigned>(n);
      return true;
    }
    unsigned past = static_cast<unsigned>(n) - rebuild_left_;
    if (!Rebuild()) return false;
    rebuild_left_ -= past;
    return true;
  }
  bool Put(uint8_t b) {
    Literal(b);
    return Produced(&b, 1);
  }

  // Trees change at fixed output counts.
  bool Rebuild() {
    ++rebuilds_;
    rebuild_left_ = 4096;
    switch (rebuilds_) {
      case 1:
        rebuild_left_ = 1024;
        return ReadOffsetTree(6);
      case 2:
        rebuild_left_ = 2048;
        return ReadOffsetTree(7);
      case 3:
        if (in_.Get(1) && !ReadCodeTree()) return false;
        return ReadOffsetTree(8);
      default:
        if (in_.Get(1)) return ReadCodeTree() && ReadOffsetTree(8);
        return true;
    }
  }

  bool ReadCodeTree() {
    int count = static_cast<int>(in_.Get(5));
    int min_length = static_cast<int>(in_.Get(3));
    need_offsets_ = count >= 10 && !(count == 29 && min_length == 0);
    if (min_length == 0) {
      if (count == 0) return false;
      codes_.SetConstant(count - 1);
      return true;
    }
    int bits = static_cast<int>(in_.Get(3));
    uint8_t lengths[32];
    for (int i = 0; i < count; ++i) {
      unsigned v = in_.Get(static_cast<unsigned>(bits));
      unsigned length = v ? static_cast<unsigned>(min_length) + v - 1 : 0;
      if (length > 16) return false;
      lengths[i] = static_cast<uint8_t>(length);
    }
    return codes_.Build(lengths, count);
  }

  bool ReadOffsetTree(int count) {
    if (!need_offsets_) return true;  // the previous tree stays
    uint8_t lengths[8];
    int used = 0, single = 0;
    for (int i = 0; i < count; ++i) {
      lengths[i] = static_cast<uint8_t>(in_.Get(3));
      if (lengths[i]) {
        ++used;
        single = i;
      }
    }
    if (used == 1) {
      offsets_.SetConstant(single);
      return true;
    }
    return offsets_.Build(lengths, count);
  }

  RecentBytes recent_;
  HuffmanTable<32, 8> codes_;
  HuffmanTable<8, 8> offsets_;
  bool need_offsets_ = false;
  bool started_ = false;
  unsigned rebuilds_ = 0;
  unsigned rebuild_left_ = 0;
};

}  // namespace

std::unique_ptr<Decoder> NewPm2Decoder(ByteSource* source, uint64_t offset, uint64_t size) {
  return std::unique_ptr<Decoder>(new Pm2Decoder(source, offset, size));
}

}  // namespace lzh
