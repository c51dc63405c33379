// -lh2-: LZ77 over an 8 KiB window with two adaptive Huffman trees. The
// literal/length tree has 286 leaves (leaf 285 is followed by 8 bits for the
// longer lengths); the position tree codes the upper seven bits of a
// position and starts as a single leaf, gaining one leaf for every 64 bytes
// of output, so that early positions cost few bits. The lower six bits are
// stored plainly.
//
// Both trees keep their nodes ordered by count, root first, with nodes of
// equal count grouped in blocks whose first node (the leader) is known: an
// update swaps a node with its leader before counting it. Each tree halves
// its counts and rebuilds when they reach 0x8000.

#include "archiver/lzh/lz_decoder.h"

namespace lzh {
namespace {

constexpr int kMaxChars = 256 + 60 - 3 + 1;          // 314: slots of the literal/length tree
constexpr int kChars = 286;                          // leaves used by -lh2-
constexpr int kEscape = kChars - 1;                  // followed by 8 more bits
constexpr int kCharNodes = 2 * kMaxChars;            // 628
constexpr int kTreeSize = kCharNodes + 2 * 128;      // room for the position tree
constexpr int kRootC = 0;
constexpr int kRootP = kCharNodes;
constexpr int kWindow = 1 << 13;
constexpr unsigned kRescale = 0x8000;

class Lh2Decoder final : public LzDecoder {
 public:
  Lh2Decoder(ByteSource* source, uint64_t offset, uint64_t size) : LzDecoder(source, offset, size, 14, ' ') {
    StartTrees();
  }

  Error Step(size_t stop) override { return EachSymbol(this, stop); }
  Error Symbol(size_t stop) {
    int c = DecodeChar();
    if (c < 256) {
      Literal(static_cast<uint8_t>(c));
      ++count_;
      return Error::kOk;
    }
    size_t length = static_cast<size_t>(c) - 256 + 3;
    Match(DecodePosition() + 1, length, stop);
    count_ += length;
    return Error::kOk;
  }

 private:

  unsigned Bit() {
    if (++bits_used_ >= 48) {
      in_.Refill();
      bits_used_ = 0;
    }
    return in_.Take(1);
  }

  void StartTrees() {
    for (int i = 0; i < kTreeSize + 1; ++i) {
      stock_[i] = static_cast<int16_t>(i);
      block_[i] = 0;
    }
    // Leaves at the end, all counted once; parents pair them up to the root.
    int j = 2 * kChars - 2;
    for (int i = 0; i < kChars; ++i, --j) {
      freq_[j] = 1;
      child_[j] = static_cast<int16_t>(~i);
      leaf_[i] = static_cast<int16_t>(j);
      block_[j] = 1;
    }
    avail_ = 2;
    edge_[1] = kChars - 1;
    for (int i = 2 * kChars - 2; j >= 0; i -= 2, --j) {
      freq_[j] = static_cast<uint16_t>(freq_[i] + freq_[i - 1]);
      child_[j] = static_cast<int16_t>(i);
      parent_[i] = parent_[i - 1] = static_cast<int16_t>(j);
      if (freq_[j] == freq_[j + 1])
        block_[j] = block_[j + 1];
      else
        block_[j] = stock_[avail_++];
      edge_[block_[j]] = static_cast<int16_t>(j);
    }
    // The position tree: one leaf, position group 0, at its root.
    freq_[kRootP] = 1;
    child_[kRootP] = static_cast<int16_t>(~kMaxChars);
    leaf_[kMaxChars] = kRootP;
    block_[kRootP] = stock_[avail_++];
    edge_[block_[kRootP]] = kRootP;
    most_p_ = kRootP;
    total_p_ = 0;
    next_count_ = 64;
  }

  // Halves the counts of nodes [start, end) and rebuilds their tree.
  void Rebuild(int start, int end) {
    int j = start, b = 0;
    for (int i = start; i < end; ++i) {
      if (child_[i] < 0) {
        freq_[j] = static_cast<uint16_t>((freq_[i] + 1) / 2);
        child_[j] = child_[i];
        ++j;
      }
      b = block_[i];
      if (edge_[b] == i) stock_[--avail_] = static_cast<int16_t>(b);
    }
    --j;
    int i = end - 1, l = end - 2;
    while (i >= start) {
      while (i >= l) {
        freq_[i] = freq_[j];
        child_[i] = child_[j];
        --i, --j;
      }
      unsigned f = freq_[l] + freq_[l + 1];
      int k = start;
      while (f < freq_[k]) ++k;
      while (j >= k) {
        freq_[i] = freq_[j];
        child_[i] = child_[j];
        --i, --j;
      }
      freq_[i] = static_cast<uint16_t>(f);
      child_[i] = static_cast<int16_t>(l + 1);
      --i;
      l -= 2;
    }
    unsigned f = 0;
    for (i = start; i < end; ++i) {
      int c = child_[i];
      if (c < 0)
        leaf_[~c] = static_cast<int16_t>(i);
      else
        parent_[c] = parent_[c - 1] = static_cast<int16_t>(i);
      if (freq_[i] == f) {
        block_[i] = static_cast<int16_t>(b);
      } else {
        b = block_[i] = stock_[avail_++];
        edge_[b] = static_cast<int16_t>(i);
        f = freq_[i];
      }
    }
  }

  // Counts node p once, keeping the order: p first changes places with the
  // leader of its block. Returns the parent to count next.
  int CountNode(int p) {
    int b = block_[p];
    int q = edge_[b];
    bool adjust = b == block_[p + 1];
    if (q != p) {
      int r = child_[p], s = child_[q];
      child_[p] = static_cast<int16_t>(s);
      child_[q] = static_cast<int16_t>(r);
      if (r >= 0)
        parent_[r] = parent_[r - 1] = static_cast<int16_t>(q);
      else
        leaf_[~r] = static_cast<int16_t>(q);
      if (s >= 0)
        parent_[s] = parent_[s - 1] = static_cast<int16_t>(p);
      else
        leaf_[~s] = static_cast<int16_t>(p);
      p = q;
      adjust = true;
    }
    if (adjust) {
      ++edge_[b];
      if (++freq_[p] == freq_[p - 1]) {
        block_[p] = block_[p - 1];
      } else {
        block_[p] = stock_[avail_++];
        edge_[block_[p]] = static_cast<int16_t>(p);
      }
    } else if (++freq_[p] == freq_[p - 1]) {
      stock_[--avail_] = static_cast<int16_t>(b);
      block_[p] = block_[p - 1];
    }
    return parent_[p];
  }

  void UpdateChar(int c) {
    if (freq_[kRootC] == kRescale) Rebuild(0, 2 * kChars - 1);
    ++freq_[kRootC];
    int q = leaf_[c];
    do q = CountNode(q);
    while (q != kRootC);
  }

  void UpdatePosition(int p) {
    if (total_p_ == kRescale) {
      Rebuild(kRootP, most_p_ + 1);
      total_p_ = freq_[kRootP];
      freq_[kRootP] = 0xFFFF;
    }
    int q = leaf_[p + kMaxChars];
    while (q != kRootP) q = CountNode(q);
    ++total_p_;
  }

  // Splits the last node of the position tree to give group `p` a leaf.
  void AddPositionLeaf(int p) {
    int r = most_p_ + 1, q = r + 1;
    child_[r] = child_[most_p_];
    leaf_[~child_[r]] = static_cast<int16_t>(r);
    child_[q] = static_cast<int16_t>(~(p + kMaxChars));
    child_[most_p_] = static_cast<int16_t>(q);
    freq_[r] = freq_[most_p_];
    freq_[q] = 0;
    block_[r] = block_[most_p_];
    if (most_p_ == kRootP) {
      freq_[kRootP] = 0xFFFF;
      ++edge_[block_[kRootP]];
    }
    parent_[r] = parent_[q] = static_cast<int16_t>(most_p_);
    block_[q] = stock_[avail_++];
    edge_[block_[q]] = static_cast<int16_t>(q);
    leaf_[p + kMaxChars] = static_cast<int16_t>(q);
    most_p_ = q;
    UpdatePosition(p);
  }

  int DecodeChar() {
    in_.Refill();
    bits_used_ = 0;
    int c = child_[kRootC];
    while (c > 0) c = child_[c - static_cast<int>(Bit())];
    c = ~c;
    UpdateChar(c);
    if (c == kEscape) c += static_cast<int>(in_.Get(8));
    return c;
  }

  unsigned DecodePosition() {
    while (count_ > next_count_) {
      AddPositionLeaf(static_cast<int>(next_count_ / 64));
      next_count_ += 64;
      if (next_count_ >= kWindow) next_count_ = UINT64_MAX;
    }
    in_.Refill();
    bits_used_ = 0;
    int c = child_[kRootP];
    while (c > 0) c = child_[c - static_cast<int>(Bit())];
    c = ~c - kMaxChars;
    UpdatePosition(c);
    return (static_cast<unsigned>(c) << 6) + in_.Get(6);
  }

  uint64_t count_ = 0;        // bytes decoded, matches counted whole when read
  uint64_t next_count_ = 0;   // output after which the position tree grows
  unsigned bits_used_ = 0;
  int avail_ = 0, most_p_ = 0;
  unsigned total_p_ = 0;
  uint16_t freq_[kTreeSize + 1];
  int16_t child_[kTreeSize + 1], parent_[kTreeSize + 1], block_[kTreeSize + 1], edge_[kTreeSize + 1],
      stock_[kTreeSize + 1];
  int16_t leaf_[kTreeSize / 2 + 1];
};

}  // namespace

std::unique_ptr<Decoder> NewLh2Decoder(ByteSource* source, uint64_t offset, uint64_t size) {
  return std::unique_ptr<Decoder>(new Lh2Decoder(source, offset, size));
}

}  // namespace lzh
