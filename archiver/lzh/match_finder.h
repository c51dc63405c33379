// Sliding window with hash chains for the LZ77 stage of the encoder, and
// binary trees over the same window for the optimal parser, which wants
// every useful match at every position rather than the longest one.
//
// Positions are counted over the whole life of the finder (not per buffer),
// so sliding the buffer never rewrites the tables, and a new input starts
// far enough past the last one that old chain entries fall out of reach
// instead of being cleared.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace lzh {

// One match of the tree search: its length and distance back.
struct TreeMatch {
  uint16_t length;
  uint16_t distance;
};

struct MatchParams {
  int max_chain;   // candidates examined per position
  int good_len;    // a previous match this long quarters the chain
  int nice_len;    // stop searching at a match this long
  int lazy_limit;  // do not look for a better match after one this long
  uint32_t too_far_for_3;  // length-3 matches farther away are not worth it
};

class MatchFinder {
 public:
  MatchFinder();

  // Begins a new input of `size` bytes for a window of 2^dict_bits; `trees`
  // when the input is searched with TreeMatches instead of Insert/Longest.
  void Start(int dict_bits, uint64_t size, bool trees = false);

  // Input: NeedsFill() says when the lookahead runs short; PrepareFill gives
  // the place and room for new bytes, CommitFill records how many arrived.
  bool NeedsFill() const { return !at_end_ && end_ - pos_ < kLookahead; }
  size_t PrepareFill(uint8_t** dest);
  void CommitFill(size_t count, bool last);

  size_t Available() const { return end_ - pos_; }
  bool Done() const { return at_end_ && pos_ == end_; }
  uint8_t Byte(ptrdiff_t delta) const { return buf_[pos_ + delta]; }
  int lazy_limit() const { return params_.lazy_limit; }

  // Enters the current position (needs 4 bytes ahead) and returns the
  // previous chain head plus one (0: none).
  uint32_t Insert() {
    const uint8_t* p = &buf_[pos_];
    uint32_t here = static_cast<uint32_t>(base_ + pos_);
    uint32_t h3 = Hash3(p);
    last3_ = head3_[h3];
    head3_[h3] = here + 1;
    uint32_t h = Hash(p);
    uint32_t old = head_[h];
    head_[h] = here + 1;
    prev_[here & wmask_] = Link(here, old);
    return old;
  }

  void Advance(size_t n) { pos_ += n; }

  // Moves on by n, entering every position passed except the current one
  // (which Insert already entered).
  void SkipInserting(size_t n) {
    size_t stop = pos_ + n;
    for (size_t p = pos_ + 1; p < stop; p++) {
      if (end_ - p < 4) break;
      uint32_t h = Hash(&buf_[p]);
      uint32_t here = static_cast<uint32_t>(base_ + p);
      prev_[here & wmask_] = Link(here, head_[h]);
      head_[h] = here + 1;
      head3_[Hash3(&buf_[p])] = here + 1;
    }
    pos_ = stop;
  }

  // Longest match at the current position longer than `better_than`, at
  // most `max_len`, following the chain from `head` (as Insert returned).
  // Returns its length (0 when none) and sets *distance.
  int Longest(uint32_t head, int max_len, int better_than, uint32_t* distance) const;

  // Enters the current position (needs 4 bytes ahead) into its binary tree
  // and writes the matches of at most `max_len` bytes found on the way into
  // `out`, each longer and farther than the one before (at most depth + 1 of
  // them); returns their count. The search visits at most `depth` nodes and
  // stops at a match of `nice_len`. With `out` null it only enters the
  // position.
  int TreeMatches(int max_len, int nice_len, int depth, TreeMatch* out);

 private:
  static constexpr int kHashBits = 16;
  static constexpr int kHash3Bits = 14;
  static constexpr size_t kMaxWindow = size_t{1} << 16;
  static constexpr size_t kChunk = size_t{1} << 18;
  static constexpr size_t kLookahead = 256 + 3 + 1;

  // Chain links are distances back to the previous position with the same
  // hash (0: none or out of reach), which keeps the table at 128 KiB.
  static uint16_t Link(uint32_t here, uint32_t head) {
    uint32_t distance = here + 1 - head;
    return head && distance <= 0xFFFF ? static_cast<uint16_t>(distance) : 0;
  }

  // Three-byte matches come from a table of the last position per hash;
  // longer ones from chains over four-byte hashes, which are far more
  // selective.
  static uint32_t Hash3(const uint8_t* p) {
    uint32_t v = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                 static_cast<uint32_t>(p[2]) << 16;
    return (v * 2654435761u) >> (32 - kHash3Bits);
  }
  static uint32_t Hash(const uint8_t* p) {
    uint32_t v;
    memcpy(&v, p, 4);
    return (v * 2654435761u) >> (32 - kHashBits);
  }

  std::vector<uint8_t> buf_;
  std::vector<uint32_t> head_;
  std::vector<uint16_t> prev_;
  std::vector<uint32_t> head3_;
  // Two children (smaller, larger; life position plus one, 0: none) per
  // window position; allocated on the first input that wants trees.
  std::vector<uint32_t> tree_;
  uint32_t last3_ = 0;  // three-byte candidate of the last Insert (plus one)
  MatchParams params_;
  uint32_t wmask_ = 0, max_distance_ = 0;
  uint64_t base_ = 0;  // life position of buf_[0]
  size_t pos_ = 0, end_ = 0;
  bool at_end_ = true;
};

}  // namespace lzh
