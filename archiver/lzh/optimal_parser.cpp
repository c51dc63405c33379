#include "archiver/lzh/optimal_parser.h"

#include <algorithm>
#include <cstring>

#include "archiver/lzh/huffman_builder.h"

namespace lzh {
namespace {

// Tree search effort: nodes visited per position, and the match length at
// which the search stops and the positions it covers are only entered.
constexpr int kTreeDepth = 64;
constexpr int kNiceLength = 128;
// Shortest-path passes; each after the first is priced by the one before.
constexpr int kPasses = 2;
// Matches a position can yield, and room for a whole chunk of them.
constexpr int kMaxPerPosition = kTreeDepth + 1;
constexpr size_t kCacheSize = size_t{OptimalParser::kMaxChunk} * 8;
// Bits charged for a code the previous path did not use: dear enough that a
// pass does not adopt it lightly, cheap enough that it still can.
constexpr uint32_t kUnusedBits = 12;

void LengthsToCosts(const uint32_t* freq, int n, uint32_t* cost) {
  uint8_t len[kNumCodes];
  int used = BuildCodeLengths(freq, n, kMaxCodeBits, len);
  for (int i = 0; i < n; i++) cost[i] = freq[i] ? len[i] : (used ? kUnusedBits : 8);
}

}  // namespace

OptimalParser::OptimalParser()
    : bytes_(kMaxChunk),
      counts_(kMaxChunk),
      cache_(kCacheSize + kMaxPerPosition),
      cost_(kMaxChunk + 1),
      step_len_(kMaxChunk),
      step_dist_(kMaxChunk) {
  cache_limit_ = kCacheSize;
}

void OptimalParser::BeginChunk(int dict_bits) {
  np_ = dict_bits + 1;
  size_ = 0;
  used_ = 0;
  skip_ = 0;
}

void OptimalParser::Enter(MatchFinder& finder) {
  size_t avail = finder.Available();
  int max_len = avail < kMaxMatch ? static_cast<int>(avail) : kMaxMatch;
  if (max_len >= 4) finder.TreeMatches(max_len, kNiceLength, kTreeDepth, nullptr);
  finder.Advance(1);
}

void OptimalParser::Add(MatchFinder& finder) {
  size_t avail = finder.Available();
  int max_len = avail < kMaxMatch ? static_cast<int>(avail) : kMaxMatch;
  bytes_[size_] = finder.Byte(0);
  int found = 0;
  if (max_len >= 4) {
    if (skip_ > 0) {
      finder.TreeMatches(max_len, kNiceLength, kTreeDepth, nullptr);
      skip_--;
    } else {
      found = finder.TreeMatches(max_len, kNiceLength, kTreeDepth, &cache_[used_]);
      if (found && cache_[used_ + found - 1].length >= kNiceLength)
        skip_ = cache_[used_ + found - 1].length - 1;
    }
  } else {
    skip_ = 0;
  }
  counts_[size_++] = static_cast<uint16_t>(found);
  used_ += found;
  finder.Advance(1);
}

// Prices a first path: the longest match wherever there is one.
void OptimalParser::PriceGreedy() {
  memset(&stats_, 0, sizeof stats_);
  size_t at = 0;
  for (int i = 0; i < size_;) {
    int n = counts_[i];
    int len = n ? std::min<int>(cache_[at + n - 1].length, size_ - i) : 0;
    if (len >= kMinMatch) {
      stats_.c[256 + len - kMinMatch]++;
      stats_.p[PositionCode(cache_[at + n - 1].distance - 1u)]++;
    } else {
      len = 1;
      stats_.c[bytes_[i]]++;
    }
    for (int k = 0; k < len; k++) at += counts_[i + k];
    i += len;
  }
  PriceFromStats();
}

void OptimalParser::PriceFromPath() {
  memset(&stats_, 0, sizeof stats_);
  for (int i = 0; i < size_;) {
    int len = step_len_[i];
    if (len == 1) {
      stats_.c[bytes_[i]]++;
    } else {
      stats_.c[256 + len - kMinMatch]++;
      stats_.p[PositionCode(step_dist_[i] - 1u)]++;
    }
    i += len;
  }
  PriceFromStats();
}

void OptimalParser::PriceFromStats() {
  LengthsToCosts(stats_.c, kNumCodes, literal_cost_);
  LengthsToCosts(stats_.p, np_, position_cost_);
  for (int i = 2; i < np_; i++) position_cost_[i] += i - 1;
}

// Backwards from the end: the cheapest way on from each position is a
// literal or, for every length a match there reaches, that match with the
// nearest distance the search found for it.
void OptimalParser::ShortestPath() {
  cost_[size_] = 0;
  size_t at = used_;
  for (int i = size_ - 1; i >= 0; i--) {
    int n = counts_[i];
    at -= n;
    uint32_t best = literal_cost_[bytes_[i]] + cost_[i + 1];
    int best_len = 1, best_dist = 0;
    int limit = size_ - i;
    int len = kMinMatch;
    for (int k = 0; k < n && len <= limit; k++) {
      const TreeMatch& m = cache_[at + k];
      int top = std::min<int>(m.length, limit);
      uint32_t position = position_cost_[PositionCode(m.distance - 1u)];
      const uint32_t* length_cost = &literal_cost_[256 - kMinMatch];
      const uint32_t* after = &cost_[i];
      for (; len <= top; len++) {
        // Branch-free: which length wins is close to random.
        uint32_t c = length_cost[len] + position + after[len];
        bool better = c < best;
        best = better ? c : best;
        best_len = better ? len : best_len;
        best_dist = better ? m.distance : best_dist;
      }
    }
    cost_[i] = best;
    step_len_[i] = static_cast<uint16_t>(best_len);
    step_dist_[i] = static_cast<uint16_t>(best_dist);
  }
}

int OptimalParser::Solve(uint16_t* code, uint16_t* pos) {
  PriceGreedy();
  for (int pass = 0; pass < kPasses; pass++) {
    if (pass > 0) PriceFromPath();
    ShortestPath();
  }
  int count = 0;
  for (int i = 0; i < size_;) {
    int len = step_len_[i];
    if (len == 1) {
      code[count] = bytes_[i];
      pos[count++] = 0;
    } else {
      code[count] = static_cast<uint16_t>(256 + len - kMinMatch);
      pos[count++] = static_cast<uint16_t>(step_dist_[i] - 1);
    }
    i += len;
  }
  return count;
}

}  // namespace lzh
