// -lh1-: LZ77 over a 4 KiB window, literals and lengths coded with an
// adaptive Huffman tree, the upper six bits of positions with a fixed code.
#include <cstring>

#include "archiver/lzh/huffman_table.h"
#include "archiver/lzh/lz_decoder.h"

namespace lzh {
namespace {

constexpr int kChars = 256 - 3 + 60 + 1;  // literals and lengths 3..60: 314
constexpr int kNodes = 2 * kChars - 1;
constexpr int kRoot = kNodes - 1;
constexpr unsigned kMaxFreq = 0x8000;

class Lh1Decoder final : public LzDecoder {
 public:
  Lh1Decoder(ByteSource* source, uint64_t offset, uint64_t size) : LzDecoder(source, offset, size, 13, ' ') {
    StartTree();
    // Upper six bits of a position: one code of 3 bits, 3 of 4, 8 of 5,
    // 12 of 6, 24 of 7 and 16 of 8.
    uint8_t lengths[64];
    static const int kCounts[][2] = {{1, 3}, {3, 4}, {8, 5}, {12, 6}, {24, 7}, {16, 8}};
    int i = 0;
    for (const auto& run : kCounts)
      for (int k = 0; k < run[0]; ++k) lengths[i++] = static_cast<uint8_t>(run[1]);
    positions_.Build(lengths, 64);
  }

  Error Step(size_t stop) override { return EachSymbol(this, stop); }
  Error Symbol(size_t stop) {
    int c = DecodeChar();
    if (c < 256) {
      Literal(static_cast<uint8_t>(c));
      return Error::kOk;
    }
    in_.Refill();
    int upper = positions_.Decode(&in_);
    Match((static_cast<size_t>(upper) << 6 | in_.Take(6)) + 1, static_cast<size_t>(c) - 256 + 3, stop);
    return Error::kOk;
  }

 private:

  // Leaves 0..kChars-1 in the low slots, parents above, root at the top;
  // a node's children sit at son[n] and son[n]+1.
  void StartTree() {
    for (int i = 0; i < kChars; ++i) {
      freq_[i] = 1;
      son_[i] = i + kNodes;
      parent_[i + kNodes] = i;
    }
    for (int i = 0, j = kChars; j <= kRoot; i += 2, ++j) {
      freq_[j] = freq_[i] + freq_[i + 1];
      son_[j] = i;
      parent_[i] = parent_[i + 1] = j;
    }
    freq_[kNodes] = 0xFFFF;  // sentinel above the root
    parent_[kRoot] = 0;
  }

  // Halves all counts and rebuilds the tree when the root count saturates.
  void Rebuild() {
    int j = 0;
    for (int i = 0; i < kNodes; ++i) {
      if (son_[i] >= kNodes) {
        freq_[j] = (freq_[i] + 1) / 2;
        son_[j] = son_[i];
        ++j;
      }
    }
    for (int i = 0, n = kChars; n < kNodes; i += 2, ++n) {
      unsigned f = freq_[i] + freq_[i + 1];
      int k = n - 1;
      while (f < freq_[k]) --k;
      ++k;
      memmove(&freq_[k + 1], &freq_[k], (n - k) * sizeof freq_[0]);
      freq_[k] = f;
      memmove(&son_[k + 1], &son_[k], (n - k) * sizeof son_[0]);
      son_[k] = i;
    }
    for (int i = 0; i < kNodes; ++i) {
      int k = son_[i];
      if (k >= kNodes) {
        parent_[k] = i;
      } else {
        parent_[k] = parent_[k + 1] = i;
      }
    }
  }

  void Update(int c) {
    if (freq_[kRoot] == kMaxFreq) Rebuild();
    int n = parent_[c + kNodes];
    do {
      unsigned k = ++freq_[n];
      int l = n + 1;
      if (k > freq_[l]) {
        while (k > freq_[++l]) {
        }
        --l;
        freq_[n] = freq_[l];
        freq_[l] = k;
        int i = son_[n];
        parent_[i] = l;
        if (i < kNodes) parent_[i + 1] = l;
        int j = son_[l];
        son_[l] = i;
        parent_[j] = n;
        if (j < kNodes) parent_[j + 1] = n;
        son_[n] = j;
        n = l;
      }
    } while ((n = parent_[n]) != 0);
  }

  int DecodeChar() {
    int c = son_[kRoot];
    in_.Refill();
    unsigned used = 0;
    while (c < kNodes) {
      if (used == 48) {
        in_.Refill();
        used = 0;
      }
      c += static_cast<int>(in_.Take(1));
      ++used;
      c = son_[c];
    }
    c -= kNodes;
    Update(c);
    return c;
  }

  unsigned freq_[kNodes + 1];
  int son_[kNodes];
  int parent_[kNodes + kChars];
  HuffmanTable<64, 8> positions_;
};

}  // namespace

std::unique_ptr<Decoder> NewLh1Decoder(ByteSource* source, uint64_t offset, uint64_t size) {
  return std::unique_ptr<Decoder>(new Lh1Decoder(source, offset, size));
}

}  // namespace lzh
