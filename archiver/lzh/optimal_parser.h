// The encoder's slow, thorough parse: for a chunk of input, every useful
// match at every position (binary trees), then the cheapest path through the
// chunk as a shortest path over literal and match costs in bits. The costs
// come from the chunk's own Huffman code lengths: a first path is priced with
// the lengths a greedy parse would give, and each further pass with the
// lengths of the path before it.
#pragma once
#include <cstdint>
#include <vector>

#include "archiver/lzh/encode_block.h"
#include "archiver/lzh/match_finder.h"

namespace lzh {

class OptimalParser {
 public:
  OptimalParser();

  // Positions a chunk holds at most; its symbols fit one gathered block.
  static constexpr int kMaxChunk = kMaxBlockSymbols;

  void BeginChunk(int dict_bits);
  bool Full() const { return size_ >= kMaxChunk || used_ > cache_limit_; }
  int size() const { return size_; }

  // Searches the finder's current position (at least one byte available),
  // records its matches and moves the finder on by one.
  void Add(MatchFinder& finder);
  // Enters the current position into the trees, as Add does, without
  // collecting its matches (the history before an input), and moves on.
  static void Enter(MatchFinder& finder);

  // Finds the cheapest path through the chunk and writes it as symbols
  // (code: literal or 256 + length - 3; pos: distance - 1); returns their
  // count, at most size().
  int Solve(uint16_t* code, uint16_t* pos);

 private:
  void PriceGreedy();
  void PriceFromPath();
  void PriceFromStats();
  void ShortestPath();

  int np_ = 0;
  int size_ = 0;
  int skip_ = 0;  // positions left inside a long match: entered, not searched
  size_t used_ = 0, cache_limit_ = 0;
  std::vector<uint8_t> bytes_;
  std::vector<uint16_t> counts_;     // matches per position
  std::vector<TreeMatch> cache_;     // every position's matches, in order
  std::vector<uint32_t> cost_;       // cheapest bits from a position to the end
  std::vector<uint16_t> step_len_;   // the step taken there: 1 (literal) or a length
  std::vector<uint16_t> step_dist_;
  SymbolStats stats_;
  uint32_t literal_cost_[kNumCodes];  // bits per literal/length code
  uint32_t position_cost_[18];        // bits per position code, extra bits included
};

}  // namespace lzh
