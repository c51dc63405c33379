// PMarc's -pm1-: static codes throughout. Commands are either a copy, or a
// run of literals (places in the most-recently-used byte list) followed by a
// copy. The codes for copy kinds and distances widen as the output grows,
// since nothing further back than the output so far can be addressed.
#include "archiver/lzh/lz_decoder.h"
#include "archiver/lzh/recent_bytes.h"

namespace lzh {
namespace {

// Trees that code the six literal place ranges, chosen by the stream's
// first five bits. Each byte is a node: high nibble for bit 0, low nibble
// for bit 1; a nibble of 10 or more is leaf (nibble - 10), else the
// distance to the child node.
const uint8_t kLiteralTrees[32][5] = {
    {0x12, 0x2d, 0xef, 0x1c, 0xab}, {0x12, 0x23, 0xde, 0xab, 0xcf}, {0x12, 0x2c, 0xd2, 0xab, 0xef},
    {0x12, 0xa2, 0xd2, 0xbc, 0xef}, {0x12, 0xa2, 0xc2, 0xbd, 0xef}, {0x12, 0xa2, 0xcd, 0xb1, 0xef},
    {0x12, 0xab, 0x12, 0xcd, 0xef}, {0x12, 0xab, 0x1d, 0xc1, 0xef}, {0x12, 0xab, 0xc1, 0xd1, 0xef},
    {0xa1, 0x12, 0x2c, 0xde, 0xbf}, {0xa1, 0x1d, 0x1c, 0xb1, 0xef}, {0xa1, 0x12, 0x2d, 0xef, 0xbc},
    {0xa1, 0x12, 0xb2, 0xde, 0xcf}, {0xa1, 0x12, 0xbc, 0xd1, 0xef}, {0xa1, 0x1c, 0xb1, 0xd1, 0xef},
    {0xa1, 0xb1, 0x12, 0xcd, 0xef}, {0xa1, 0xb1, 0xc1, 0xd1, 0xef}, {0x12, 0x1c, 0xde, 0xab},
    {0x12, 0xa2, 0xcd, 0xbe},       {0x12, 0xab, 0xc1, 0xde},       {0xa1, 0x1d, 0x1c, 0xbe},
    {0xa1, 0x12, 0xbc, 0xde},       {0xa1, 0x1c, 0xb1, 0xde},       {0xa1, 0xb1, 0xc1, 0xde},
    {0x1d, 0x1c, 0xab},             {0x1c, 0xa1, 0xbd},             {0x12, 0xab, 0xcd},
    {0xa1, 0x1c, 0xbd},             {0xa1, 0xb1, 0xcd},             {0xa1, 0xbc},
    {0xab},                         {0x00},  // the last: one range only, no bits
};

// (base, bits) of literal places by range.
const uint16_t kPlaces[6][2] = {{0, 4}, {16, 4}, {32, 5}, {64, 6}, {128, 6}, {192, 6}};

constexpr unsigned kMaxRun = 216;  // a run this long is not followed by a copy

class Pm1Decoder final : public LzDecoder {
 public:
  // Distances reach 10816 back.
  Pm1Decoder(ByteSource* source, uint64_t offset, uint64_t size) : LzDecoder(source, offset, size, 15, 0) {}

  Error Step(size_t stop) override { return EachSymbol(this, stop); }
  Error Symbol(size_t stop) {
    if (!tree_) {
      tree_ = kLiteralTrees[in_.Get(5)];
      if (Cut()) return CutError();
    }
    if (run_left_) {
      --run_left_;
      int place = ReadPlace();
      if (place < 0) return Error::kDamagedData;
      Put(recent_.At(static_cast<unsigned>(place)));
      return Error::kOk;
    }
    if (!copy_due_ && in_.Get(1)) {
      run_left_ = ReadRunLength();
      copy_due_ = run_left_ != kMaxRun;
      return Error::kOk;
    }
    copy_due_ = false;
    return ReadCopy(stop) ? Error::kOk : Error::kDamagedData;
  }

 private:
  // Every byte moves up the recent list and counts.
  bool Produced(const uint8_t* p, size_t n) override {
    for (size_t i = 0; i < n; ++i) recent_.MoveToFront(p[i]);
    count_ += n;
    return true;
  }
  void Put(uint8_t b) {
    Literal(b);
    Produced(&b, 1);
  }

  // A bit that the stream only carries once `threshold` bytes are out.
  unsigned BitAfter(uint64_t threshold, unsigned otherwise) { return count_ >= threshold ? in_.Get(1) : otherwise; }

  int ReadPlace() {
    const uint8_t* node = tree_;
    size_t at = 0;
    int range = 0;
    if (node[0] != 0) {
      for (int depth = 0;; ++depth) {
        unsigned child = in_.Get(1) ? node[at] & 0x0F : node[at] >> 4;
        if (child >= 10) {
          range = static_cast<int>(child) - 10;
          break;
        }
        at += child;
        if (child == 0 || at >= 5 || depth > 6) return -1;
      }
    }
    if (range > 5) return -1;
    return static_cast<int>(kPlaces[range][0] + in_.Get(kPlaces[range][1]));
  }

  // 1..216 with short codes for short runs.
  unsigned ReadRunLength() {
    unsigned x = in_.Get(2);
    if (x < 3) return x + 1;
    x = in_.Get(3);
    if (x < 7) return x + 4;
    x = in_.Get(4);
    if (x < 14) return x + 11;
    return x == 14 ? in_.Get(6) + 25 : in_.Get(7) + 89;
  }

  // 3..244.
  unsigned ReadCopyLength() {
    unsigned x = in_.Get(2);
    if (x < 3) return x + 3;
    x = in_.Get(3);
    if (x < 5) return x + 6;
    if (x == 5) return in_.Get(2) + 11;
    if (x == 6) return in_.Get(3) + 15;
    x = in_.Get(6);
    if (x < 62) return x + 23;
    return x == 62 ? in_.Get(5) + 85 : in_.Get(7) + 117;
  }

  bool ReadCopy(size_t stop) {
    // Copy kinds 0 and 1 copy two bytes (distances below 64 and 320); kinds
    // 2 to 5 a coded length from distances below 64, 576, 2624 and 10816.
    // Kinds and distance bits appear as the output grows long enough.
    unsigned kind;
    if (in_.Get(1) == 0) {
      kind = BitAfter(576, 0) ? 4 : BitAfter(64, 0);
    } else if (BitAfter(64, 1) == 0) {
      kind = 3;
    } else {
      kind = BitAfter(2624, 1) ? 2 : 5;
    }
    unsigned length = kind < 2 ? 2 : ReadCopyLength();
    unsigned base = 0, bits = 6;
    switch (kind) {
      case 1: base = 64, bits = 8; break;
      case 3: base = 64, bits = count_ < 320 ? 8 : 9; break;
      case 4: base = 576, bits = count_ < 832 ? 8 : count_ < 1088 ? 9 : count_ < 1600 ? 10 : 11; break;
      case 5:
        base = 2624;
        bits = count_ < 2880 ? 8 : count_ < 3136 ? 9 : count_ < 3648 ? 10 : count_ < 4672 ? 11 : count_ < 6720 ? 12 : 13;
        break;
      default: break;
    }
    uint64_t distance = base + in_.Get(bits);
    if (distance >= count_) return false;  // before the start of the output
    return Match(distance + 1, length, stop);
  }

  const uint8_t* tree_ = nullptr;
  uint64_t count_ = 0;  // bytes out so far
  unsigned run_left_ = 0;
  bool copy_due_ = false;
  RecentBytes recent_;
};

}  // namespace

std::unique_ptr<Decoder> NewPm1Decoder(ByteSource* source, uint64_t offset, uint64_t size) {
  return std::unique_ptr<Decoder>(new Pm1Decoder(source, offset, size));
}

}  // namespace lzh
