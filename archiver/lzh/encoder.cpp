#include "archiver/lzh/encoder.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "archiver/lzh/bit_writer.h"
#include "archiver/lzh/crc16.h"
#include "archiver/lzh/encode_block.h"
#include "archiver/lzh/match_finder.h"
#include "archiver/lzh/optimal_parser.h"

namespace lzh {

int DictBitsForMethod(const char* method) {
  if (!method || strlen(method) != 5 || memcmp(method, "-lh", 3) != 0 || method[4] != '-') return 0;
  switch (method[3]) {
    case '5': return kLh5DictBits;
    case '6': return kLh6DictBits;
    case '7': return kLh7DictBits;
  }
  return 0;
}

namespace {

// Symbols gathered before the block splitter looks at them; the 16-bit
// block size field caps a block at 65535.
constexpr int kGatherSymbols = kMaxBlockSymbols;
// The splitter's unit: blocks are runs of whole leaves.
constexpr int kLeafSymbols = 1024;
constexpr int kMaxLeaves = (kGatherSymbols + kLeafSymbols - 1) / kLeafSymbols;
constexpr int kLazyBias = 1;
constexpr size_t kOutCapacity = size_t{1} << 19;

// Whether a match one position later is worth a literal more: longer
// matches save about four bits a byte, far offsets cost their bit length.
inline bool Better(int len, uint32_t dist, int prev_len, uint32_t prev_dist) {
  if (len <= prev_len) return false;
  return len * 4 - PositionCode(dist - 1) > prev_len * 4 - PositionCode(prev_dist - 1) + kLazyBias;
}

}  // namespace

class EncoderState {
 public:
  EncoderState()
      : code_(kGatherSymbols), pos_(kGatherSymbols), leaves_(kMaxLeaves), split_(4 * kMaxLeaves),
        out_buf_(kOutCapacity) {}

  EncodeResult Run(int dict_bits, ByteSource& source, uint64_t offset, uint64_t size,
                   ByteSink& sink, const ProgressCallback& progress, uint64_t limit, uint64_t history = 0,
                   bool last = true, bool pad = true);

 private:
  bool Fill();
  bool EnterHistory(uint64_t history, bool trees);
  bool ParseLazy();
  bool ParseOptimal(int dict_bits);
  bool FlushSymbols(bool final);
  uint64_t PlanBlocks(int node, int lo, int hi, SymbolStats* sum);
  void EmitBlocks(int node, int lo, int hi);
  bool Drain();
  void Literal(uint8_t c) {
    code_[count_] = c;
    pos_[count_++] = 0;
  }
  void Match(int length, uint32_t distance) {
    code_[count_] = static_cast<uint16_t>(256 + length - kMinMatch);
    pos_[count_++] = static_cast<uint16_t>(distance - 1);
  }

  MatchFinder finder_;
  std::unique_ptr<OptimalParser> parser_;  // made on first use
  std::vector<uint16_t> code_, pos_;
  int count_ = 0;
  bool final_ = false;  // the symbols being emitted end the stream
  std::vector<SymbolStats> leaves_;
  std::vector<bool> split_;  // per node of the splitter's binary tree
  std::vector<uint8_t> out_buf_;
  BitWriter* out_ = nullptr;
  BlockCoder* coder_ = nullptr;

  // Current call.
  ByteSource* source_ = nullptr;
  ByteSink* sink_ = nullptr;
  const ProgressCallback* progress_ = nullptr;
  uint64_t read_offset_ = 0, left_ = 0, done_ = 0, written_ = 0, limit_ = 0;
  uint16_t crc_ = 0;
  uint64_t history_left_ = 0;  // bytes still to read that are history only
  bool pad_ = true;
  WriteStatus status_ = WriteStatus::kOk;

 public:
  uint64_t give_up_after = uint64_t{16} << 20;
  ParseMode parse_mode = ParseMode::kLazy;
};

bool EncoderState::Fill() {
  uint8_t* dest = nullptr;
  size_t room = finder_.PrepareFill(&dest);
  size_t want = left_ < room ? static_cast<size_t>(left_) : room;
  size_t got = source_->ReadAt(read_offset_, dest, want);
  if (got != want || source_->Failed()) {
    status_ = WriteStatus::kReadFailed;
    return false;
  }
  size_t history = static_cast<size_t>(std::min<uint64_t>(history_left_, got));
  history_left_ -= history;
  crc_ = Crc16Update(crc_, dest + history, got - history);
  finder_.CommitFill(got, got == left_);
  read_offset_ += got;
  left_ -= got;
  done_ += got;
  if (*progress_ && !(*progress_)(done_)) {
    status_ = WriteStatus::kCancelled;
    return false;
  }
  return true;
}

bool EncoderState::Drain() {
  if (out_->size() == 0) return true;
  written_ += out_->size();
  uint64_t consumed = done_ - finder_.Available();
  if (written_ > limit_ ||
      (limit_ != UINT64_MAX && consumed >= give_up_after && written_ >= consumed)) {
    status_ = WriteStatus::kLimitReached;
    return false;
  }
  if (!sink_->Write(out_->data(), out_->size())) {
    status_ = WriteStatus::kWriteFailed;
    return false;
  }
  out_->ClearBytes();
  return true;
}

// Chooses blocks for the gathered symbols: over a binary tree of leaves,
// a node is one block unless its two halves, each split at its best, cost
// less. Returns the best cost of leaves [lo, hi) and their counts in *sum.
uint64_t EncoderState::PlanBlocks(int node, int lo, int hi, SymbolStats* sum) {
  if (hi - lo == 1) {
    *sum = leaves_[lo];
    split_[node] = false;
    return coder_->Cost(*sum);
  }
  int mid = (lo + hi) / 2;
  SymbolStats left, right;
  uint64_t apart = PlanBlocks(2 * node, lo, mid, &left) + PlanBlocks(2 * node + 1, mid, hi, &right);
  sum->Sum(left, right);
  uint64_t whole = coder_->Cost(*sum);
  split_[node] = apart < whole;
  return split_[node] ? apart : whole;
}

void EncoderState::EmitBlocks(int node, int lo, int hi) {
  if (split_[node]) {
    int mid = (lo + hi) / 2;
    EmitBlocks(2 * node, lo, mid);
    EmitBlocks(2 * node + 1, mid, hi);
    return;
  }
  int begin = lo * kLeafSymbols;
  int end = std::min(hi * kLeafSymbols, count_);
  coder_->Write(&code_[begin], &pos_[begin], end - begin, *out_, final_ && end == count_);
}

bool EncoderState::FlushSymbols(bool final) {
  if (count_ > 0) {
    int leaves = (count_ + kLeafSymbols - 1) / kLeafSymbols;
    for (int i = 0; i < leaves; i++) {
      int begin = i * kLeafSymbols;
      leaves_[i].Count(&code_[begin], &pos_[begin], std::min(kLeafSymbols, count_ - begin));
    }
    if (leaves > 1) {
      SymbolStats all;
      PlanBlocks(1, 0, leaves, &all);
    } else {
      split_[1] = false;
    }
    final_ = final;
    EmitBlocks(1, 0, leaves);
    count_ = 0;
  }
  if (final && pad_) out_->PadToByte();
  return Drain();
}

// Lazy matching: a match found at one position is taken only when the next
// position does not offer a better one.
bool EncoderState::ParseLazy() {
  int prev_len = 0;
  uint32_t prev_dist = 0;
  bool pending = false;
  for (;;) {
    if (finder_.NeedsFill() && !Fill()) return false;
    size_t avail = finder_.Available();
    if (avail == 0) break;
    int cur_len = 0;
    uint32_t cur_dist = 0;
    if (avail >= 4) {
      uint32_t head = finder_.Insert();
      if (prev_len < finder_.lazy_limit()) {
        cur_len = finder_.Longest(head, avail < kMaxMatch ? static_cast<int>(avail) : kMaxMatch,
                                  prev_len, &cur_dist);
      }
    }
    if (pending && prev_len >= kMinMatch && !Better(cur_len, cur_dist, prev_len, prev_dist)) {
      Match(prev_len, prev_dist);
      finder_.SkipInserting(prev_len - 1);
      pending = false;
      prev_len = 0;
    } else {
      if (pending) Literal(finder_.Byte(-1));
      pending = true;
      prev_len = cur_len;
      prev_dist = cur_dist;
      finder_.Advance(1);
    }
    // Each step adds one symbol, and one may follow the loop. At the end of
    // the input the last flush is left to the caller, which marks it final.
    if (count_ >= kGatherSymbols - 2 && !finder_.Done() && !FlushSymbols(false)) return false;
  }
  if (pending) Literal(finder_.Byte(-1));
  return true;
}

// Chunk by chunk: gather every position's matches, then parse the chunk
// whole and add its symbols to the gathered block.
bool EncoderState::ParseOptimal(int dict_bits) {
  if (!parser_) parser_.reset(new OptimalParser);
  for (;;) {
    parser_->BeginChunk(dict_bits);
    while (!parser_->Full()) {
      if (finder_.NeedsFill() && !Fill()) return false;
      if (finder_.Available() == 0) break;
      parser_->Add(finder_);
    }
    if (parser_->size() == 0) return true;
    count_ += parser_->Solve(&code_[count_], &pos_[count_]);
    // Flush while the finder stands at the end of the symbols, so that the
    // output is measured against the input it covers; the last flush is the
    // caller's.
    if (count_ > kGatherSymbols - OptimalParser::kMaxChunk && !finder_.Done() && !FlushSymbols(false))
      return false;
  }
}

// The history's positions go into the tables without symbols.
bool EncoderState::EnterHistory(uint64_t history, bool trees) {
  for (uint64_t i = 0; i < history; i++) {
    if (finder_.NeedsFill() && !Fill()) return false;
    if (trees) {
      OptimalParser::Enter(finder_);
    } else {
      if (finder_.Available() >= 4) finder_.Insert();
      finder_.Advance(1);
    }
  }
  return true;
}

EncodeResult EncoderState::Run(int dict_bits, ByteSource& source, uint64_t offset, uint64_t size,
                               ByteSink& sink, const ProgressCallback& progress, uint64_t limit, uint64_t history,
                               bool last, bool pad) {
  BitWriter out(out_buf_.data(), out_buf_.size());
  BlockCoder coder(dict_bits);
  out_ = &out;
  coder_ = &coder;
  source_ = &source;
  sink_ = &sink;
  progress_ = &progress;
  read_offset_ = offset - history;
  left_ = history + size;
  history_left_ = history;
  pad_ = pad;
  done_ = 0;
  written_ = 0;
  limit_ = limit;
  crc_ = 0;
  count_ = 0;
  status_ = WriteStatus::kOk;

  EncodeResult result;
  bool optimal = parse_mode == ParseMode::kOptimal;
  finder_.Start(dict_bits, history + size, optimal);
  bool ok = size == 0 || (EnterHistory(history, optimal) && (optimal ? ParseOptimal(dict_bits) : ParseLazy()));
  if (ok) ok = FlushSymbols(last);
  result.status = ok ? WriteStatus::kOk : status_;
  result.compressed_size = written_;
  result.crc = crc_;
  result.tail_bits = out.pending_bits();
  result.tail_count = out.pending_count();
  out_ = nullptr;
  coder_ = nullptr;
  return result;
}

EncodeResult Encoder::EncodePiece(int dict_bits, ByteSource& source, uint64_t offset, uint64_t history, uint64_t size,
                                  ByteSink& sink, bool last, const ProgressCallback& progress) {
  if ((dict_bits != kLh5DictBits && dict_bits != kLh6DictBits && dict_bits != kLh7DictBits) || history > offset ||
      history + size > kMaxEncodeSize) {
    EncodeResult bad;
    bad.status = WriteStatus::kBadHeader;
    return bad;
  }
  return state_->Run(dict_bits, source, offset, size, sink, progress, UINT64_MAX, history, last, false);
}

Encoder::Encoder() : state_(new EncoderState) {}
uint64_t Encoder::give_up_after() const { return state_->give_up_after; }
void Encoder::set_give_up_after(uint64_t bytes) { state_->give_up_after = bytes; }
ParseMode Encoder::parse_mode() const { return state_->parse_mode; }
void Encoder::set_parse_mode(ParseMode mode) { state_->parse_mode = mode; }
Encoder::~Encoder() = default;

EncodeResult Encoder::Encode(int dict_bits, ByteSource& source, uint64_t offset, uint64_t size,
                             ByteSink& sink, const ProgressCallback& progress, uint64_t limit) {
  if ((dict_bits != kLh5DictBits && dict_bits != kLh6DictBits && dict_bits != kLh7DictBits) ||
      size > kMaxEncodeSize) {
    EncodeResult bad;
    bad.status = WriteStatus::kBadHeader;
    return bad;
  }
  return state_->Run(dict_bits, source, offset, size, sink, progress, limit);
}

}  // namespace lzh
