// -lh3-: the static-Huffman forerunner of -lh5- with an 8 KiB window. Each
// block sends 286 literal/length code lengths (a flag bit, then four bits)
// and either 128 position code lengths or a flag for the fixed position
// code; the last length code takes eight more bits for long matches, and
// positions are a code for the upper bits plus six plain bits.
#include "archiver/lzh/huffman_table.h"
#include "archiver/lzh/lz_decoder.h"

namespace lzh {
namespace {

constexpr int kCodes = 286;
constexpr int kPositionCodes = 128;

class Lh3Decoder final : public LzDecoder {
 public:
  Lh3Decoder(ByteSource* source, uint64_t offset, uint64_t size) : LzDecoder(source, offset, size, 15, ' ') {}

  // Like the static-Huffman family, checks for a cut stream only per block
  // and per call: one symbol at a time would cost a quarter of the speed.
  Error Step(size_t stop) override {
    uint8_t* win = window_.data();
    while (at_ < stop) {
      if (block_left_ == 0) {
        if (!ReadBlockHeader()) return Error::kDamagedData;
        if (Cut()) return CutError();
      }
      --block_left_;
      in_.Refill();
      int c = codes_.Decode(&in_);
      if (c < 0) return Error::kDamagedData;
      if (c == kCodes - 1) c += static_cast<int>(in_.Take(8));
      if (c < 256) {
        win[at_++] = static_cast<uint8_t>(c);
        continue;
      }
      size_t length = static_cast<size_t>(c) - 253;
      int upper = positions_.Decode(&in_);
      if (upper < 0) return Error::kDamagedData;
      Match((static_cast<size_t>(upper) << 6 | in_.Take(6)) + 1, length, stop);
    }
    return Error::kOk;
  }

 private:
  bool ReadBlockHeader() {
    uint32_t size = in_.Get(16);
    block_left_ = size ? size : 0x10000;
    uint8_t lengths[kCodes];
    for (int i = 0; i < kCodes; ++i) {
      lengths[i] = in_.Get(1) ? static_cast<uint8_t>(in_.Get(4) + 1) : 0;
      // Three codes of one bit cannot be: it announces a single code.
      if (i == 2 && lengths[0] == 1 && lengths[1] == 1 && lengths[2] == 1) {
        int c = static_cast<int>(in_.Get(9));
        if (c >= kCodes) return false;
        codes_.SetConstant(c);
        return ReadPositions();
      }
    }
    return codes_.Build(lengths, kCodes) && ReadPositions();
  }

  bool ReadPositions() {
    uint8_t lengths[kPositionCodes];
    if (!in_.Get(1)) {
      // The fixed code: lengths 2 to 9 bits, each starting at a set symbol.
      static const int kFirst[] = {0, 1, 1, 3, 6, 13, 31, 78, kPositionCodes};
      int length = 2;
      for (int i = 0, k = 1; i < kPositionCodes; ++i) {
        while (kFirst[k] == i) {
          ++length;
          ++k;
        }
        lengths[i] = static_cast<uint8_t>(length);
      }
      return positions_.Build(lengths, kPositionCodes);
    }
    for (int i = 0; i < kPositionCodes; ++i) {
      lengths[i] = static_cast<uint8_t>(in_.Get(4));
      if (i == 2 && lengths[0] == 1 && lengths[1] == 1 && lengths[2] == 1) {
        positions_.SetConstant(static_cast<int>(in_.Get(7)));
        return true;
      }
    }
    return positions_.Build(lengths, kPositionCodes);
  }

  uint32_t block_left_ = 0;
  HuffmanTable<kCodes, 12> codes_;
  HuffmanTable<kPositionCodes, 8> positions_;
};

}  // namespace

std::unique_ptr<Decoder> NewLh3Decoder(ByteSource* source, uint64_t offset, uint64_t size) {
  return std::unique_ptr<Decoder>(new Lh3Decoder(source, offset, size));
}

}  // namespace lzh
