#include "archiver/lzh/match_finder.h"

#include <algorithm>
#include <type_traits>

namespace lzh {
namespace {

// Search effort per window size; larger windows have longer chains to walk
// and more to gain from them.
MatchParams ParamsFor(int dict_bits) {
  if (dict_bits <= 13) return MatchParams{48, 16, 128, 64, 2048};
  if (dict_bits <= 15) return MatchParams{64, 16, 128, 64, 4096};
  return MatchParams{96, 16, 128, 64, 4096};
}

inline uint32_t Load32(const uint8_t* p) {
  uint32_t v;
  memcpy(&v, p, 4);
  return v;
}

// A word at a time, the first differing byte found from the lowest set bit
// of the difference (little-endian). The word is the machine's: on 32-bit
// builds a 64-bit bit count is a library call.
inline int LowestSetBit(uint32_t value) { return __builtin_ctz(value); }
inline int LowestSetBit(uint64_t value) { return __builtin_ctzll(value); }

inline int MatchLength(const uint8_t* a, const uint8_t* b, int max_len) {
  using Word = std::conditional<sizeof(void*) == 8, uint64_t, uint32_t>::type;
  constexpr int kWord = sizeof(Word);
  int len = 0;
  while (len + kWord <= max_len) {
    Word x, y;
    memcpy(&x, a + len, kWord);
    memcpy(&y, b + len, kWord);
    Word diff = x ^ y;
    if (diff) return len + (LowestSetBit(diff) >> 3);
    len += kWord;
  }
  while (len < max_len && a[len] == b[len]) len++;
  return len;
}

}  // namespace

MatchFinder::MatchFinder()
    : buf_(kMaxWindow + 1 + kChunk + kLookahead + 16),
      head_(size_t{1} << kHashBits),
      prev_(kMaxWindow),
      head3_(size_t{1} << kHash3Bits) {}

void MatchFinder::Start(int dict_bits, uint64_t size, bool trees) {
  if (trees && tree_.empty()) tree_.assign(2 * kMaxWindow, 0);
  params_ = ParamsFor(dict_bits);
  wmask_ = (1u << dict_bits) - 1;
  max_distance_ = (1u << dict_bits) - 1;
  // Leave a full window between this input and the previous one so that
  // none of its chain entries is within reach.
  uint64_t next = base_ + end_ + kMaxWindow + 1;
  if (next + size + kChunk >= (uint64_t{1} << 31)) {
    // Start over from cleared tables; inputs up to kMaxEncodeSize still fit
    // in 32-bit positions from here.
    std::fill(head_.begin(), head_.end(), 0);
    std::fill(prev_.begin(), prev_.end(), 0);
    std::fill(head3_.begin(), head3_.end(), 0);
    std::fill(tree_.begin(), tree_.end(), 0);
    next = 1;
  }
  base_ = next;
  pos_ = end_ = 0;
  at_end_ = size == 0;
}

size_t MatchFinder::PrepareFill(uint8_t** dest) {
  size_t capacity = buf_.size() - 16;
  if (capacity - end_ < kChunk / 2 && pos_ > kMaxWindow + 1) {
    // Keep one window (and the byte before it) behind the current position.
    size_t drop = pos_ - (kMaxWindow + 1);
    memmove(buf_.data(), buf_.data() + drop, end_ - drop);
    base_ += drop;
    pos_ -= drop;
    end_ -= drop;
  }
  *dest = buf_.data() + end_;
  return capacity - end_;
}

void MatchFinder::CommitFill(size_t count, bool last) {
  end_ += count;
  if (last) at_end_ = true;
  memset(buf_.data() + end_, 0, 16);
}

int MatchFinder::Longest(uint32_t head, int max_len, int better_than, uint32_t* distance) const {
  const uint8_t* cur = &buf_[pos_];
  uint32_t here = static_cast<uint32_t>(base_ + pos_);
  uint32_t lowest = here > max_distance_ ? here - max_distance_ : 0;
  int best = better_than < 2 ? 2 : better_than;
  if (best >= max_len) return 0;
  int chain = params_.max_chain;
  if (better_than >= params_.good_len) chain >>= 2;
  int nice = std::min(params_.nice_len, max_len);
  int found = 0;
  if (best < 3 && last3_ != 0) {
    // A near three-byte match, the best there is when no chain entry beats it.
    uint32_t at = last3_ - 1;
    if (at >= lowest && here - at <= params_.too_far_for_3) {
      const uint8_t* m = &buf_[at - base_];
      if (m[0] == cur[0] && m[1] == cur[1] && m[2] == cur[2]) {
        found = best = MatchLength(m, cur, max_len);
        *distance = here - at;
        if (best >= nice) return found;
      }
    }
  }
  // Chain entries share a four-byte hash: only matches of four or more count
  // there, and a candidate must match the four bytes ending at best + 1
  // before it is worth comparing from the start.
  if (best < 3) best = 3;
  if (best >= max_len) return found;
  if (head == 0) return found;
  uint32_t at = head - 1;
  uint32_t start = Load32(cur), end = Load32(cur + best - 3);
  while (at >= lowest) {
    // Both the next link and this candidate's bytes are likely cache misses:
    // start the link's load first so that the two overlap.
    uint32_t step = prev_[at & wmask_];
    const uint8_t* m = &buf_[at - base_];
    if (Load32(m + best - 3) == end && Load32(m) == start) {
      int len = MatchLength(m, cur, max_len);
      if (len > best) {
        best = len;
        found = len;
        *distance = here - at;
        if (len >= nice) break;
        end = Load32(cur + best - 3);
      }
    }
    if (--chain == 0 || step == 0) break;
    at -= step;
  }
  if (found == 3 && *distance > params_.too_far_for_3) return 0;
  return found;
}

// The tree of a hash bucket holds its positions ordered by the bytes that
// follow them, the newest at the root. Walking down from the root towards
// the current bytes meets the nearest candidates first and the longest
// common prefixes along the way; the walk also re-hangs the visited nodes
// under the current position, which becomes the new root.
int MatchFinder::TreeMatches(int max_len, int nice_len, int depth, TreeMatch* out) {
  const uint8_t* cur = &buf_[pos_];
  uint32_t here = static_cast<uint32_t>(base_ + pos_);
  uint32_t lowest = here > max_distance_ ? here - max_distance_ : 0;
  int count = 0, best = 2;
  uint32_t h3 = Hash3(cur);
  uint32_t near3 = head3_[h3];
  head3_[h3] = here + 1;
  if (out && near3 != 0 && near3 - 1 >= lowest) {
    // The newest position with the same three-byte hash is nearer than
    // anything in the tree.
    uint32_t at = near3 - 1;
    const uint8_t* m = &buf_[at - base_];
    if (m[0] == cur[0] && m[1] == cur[1] && m[2] == cur[2]) {
      best = MatchLength(m, cur, max_len);
      out[count++] = TreeMatch{static_cast<uint16_t>(best), static_cast<uint16_t>(here - at)};
    }
  }
  uint32_t h = Hash(cur);
  uint32_t node = head_[h];
  head_[h] = here + 1;
  uint32_t* smaller = &tree_[2 * (here & wmask_)];
  uint32_t* larger = smaller + 1;
  int smaller_len = 0, larger_len = 0, len = 0;
  int nice = std::min(nice_len, max_len);
  while (node != 0 && node - 1 >= lowest && depth-- > 0) {
    uint32_t at = node - 1;
    const uint8_t* m = &buf_[at - base_];
    uint32_t* children = &tree_[2 * (at & wmask_)];
    if (m[len] == cur[len]) {
      len = len + 1 + MatchLength(m + len + 1, cur + len + 1, max_len - len - 1);
      if (len > best && out) {
        best = len;
        out[count++] = TreeMatch{static_cast<uint16_t>(len), static_cast<uint16_t>(here - at)};
      }
      if (len >= nice) {
        // Equal as far as we look: the old node's subtrees become ours.
        *smaller = children[0];
        *larger = children[1];
        return count;
      }
    }
    if (m[len] < cur[len]) {
      *smaller = node;
      smaller = &children[1];
      node = *smaller;
      smaller_len = len;
      len = std::min(len, larger_len);
    } else {
      *larger = node;
      larger = &children[0];
      node = *larger;
      larger_len = len;
      len = std::min(len, smaller_len);
    }
  }
  *smaller = 0;
  *larger = 0;
  return count;
}

}  // namespace lzh
