#include "archiver/lzh/header_scan.h"

#include <cstring>
#include <vector>

#include "archiver/lzh/crc16.h"
#include "archiver/lzh/decoder.h"
#include "archiver/lzh/header_reader.h"

namespace lzh {
namespace {

// How far past its first byte a candidate's checks may look: a level 0/1
// base header (257 bytes) and its extended headers, or a level 3 header.
constexpr size_t kReach = static_cast<size_t>(kScanMaxHeader) + 2 + 255 + 32;
// The file is read in blocks; the window holds two, so that every candidate
// in its first half has its whole reach in memory.
constexpr size_t kWindow = 2 * kReach;

uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Get32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint64_t Get64(const uint8_t* p) { return Get32(p) | (static_cast<uint64_t>(Get32(p + 4)) << 32); }

// The CRC of any range of the window in constant time: the CRC is linear, so
// crc(a..b) = prefix(b) ^ (prefix(a) carried through b-a zero bytes). Carrying
// a value through 2^j zero bytes is linear too: one table per j and byte half.
class ZeroCarry {
 public:
  ZeroCarry() {
    const uint8_t zero = 0;
    for (int v = 0; v < 256; ++v) {
      uint8_t byte = static_cast<uint8_t>(v);
      bytes_[v] = Crc16Update(0, &byte, 1);
    }
    uint16_t columns[kBits][16];
    for (int k = 0; k < 16; ++k) columns[0][k] = Crc16Update(static_cast<uint16_t>(1u << k), &zero, 1);
    for (int j = 0; j < kBits; ++j) {
      if (j > 0)
        for (int k = 0; k < 16; ++k) columns[j][k] = Apply(j - 1, columns[j - 1][k]);
      for (int half = 0; half < 2; ++half)
        for (int v = 0; v < 256; ++v) {
          uint16_t out = 0;
          for (int k = 0; k < 8; ++k)
            if (v & (1 << k)) out ^= columns[j][half * 8 + k];
          tables_[j][half][v] = out;
        }
    }
  }
  uint16_t Update(uint16_t crc, uint8_t byte) const {
    return static_cast<uint16_t>((crc >> 8) ^ bytes_[(crc ^ byte) & 0xFF]);
  }
  uint16_t Through(uint16_t crc, size_t zeros) const {
    for (int j = 0; zeros && j < kBits; ++j, zeros >>= 1)
      if (zeros & 1) crc = Apply(j, crc);
    return crc;
  }

 private:
  static constexpr int kBits = 24;  // beyond any window
  uint16_t Apply(int j, uint16_t crc) const {
    return static_cast<uint16_t>(tables_[j][0][crc & 0xFF] ^ tables_[j][1][crc >> 8]);
  }
  uint16_t tables_[kBits][2][256];
  uint16_t bytes_[256];
};

// Built on first use on the heap: a static object the compiler may compute
// at build time would put 25 KB of tables into every program's file.
const ZeroCarry& Carry() {
  static const ZeroCarry* carry = new ZeroCarry;
  return *carry;
}

// Where a chain of extended headers starting at a window position leads:
// the position of its end (a zero size) and its last CRC and 64-bit sizes
// headers, all relative to the window; kBroken when a size is impossible
// or the chain leaves the window.
struct ChainEnd {
  uint32_t generation = 0;
  uint32_t end = 0;
  uint32_t crc_field = 0;  // 0: none
  uint32_t sizes_body = 0;  // 0: none
};
constexpr uint32_t kBroken = 0xFFFFFFFFu;

class Scanner {
 public:
  Scanner(ByteSource* source, ScanStats* stats) : source_(source), size_(source->Size()), stats_(stats) {}
  bool Find(uint64_t from, uint64_t* offset);

 private:
  bool Fill(uint64_t at);
  bool Passes(size_t r);
  bool PassesLevel01(size_t r, const uint8_t* p, size_t available);
  bool PassesLevel23(size_t r, const uint8_t* p, size_t available, int level);
  bool DataFits(size_t header_end, uint64_t compressed) const {
    uint64_t data = base_ + header_end;
    return data <= size_ && compressed <= size_ - data;
  }
  void Prefixes(size_t upto);
  bool CrcMatches(size_t begin, size_t end, uint32_t crc_field);
  ChainEnd Chain(size_t first, int width);
  bool Confirm(size_t r, size_t length);
  uint32_t SizeBefore(size_t q, int width) const {
    return width == 2 ? Get16(&window_[q - 2]) : Get32(&window_[q - 4]);
  }

  ByteSource* source_;
  uint64_t size_;
  ScanStats* stats_;
  std::vector<uint8_t> window_;  // bytes [base_, base_ + length_) of the source
  size_t capacity_ = kWindow;
  uint64_t base_ = 0;
  size_t length_ = 0;
  uint32_t generation_ = 0;  // of the window's contents; chain results of older ones are stale
  // Filled on first use, for the current window only.
  std::vector<uint8_t> sums_;    // sums_[i]: byte sum of window_[0, i)
  std::vector<uint16_t> crcs_;   // crcs_[i]: CRC of window_[0, i)
  size_t prefix_done_ = 0;
  std::vector<ChainEnd> chains_[2];  // sizes 2 and 4 bytes wide
  std::vector<uint32_t> path_;
  uint64_t parsed_bytes_ = 0;  // spent on full parses, kept below a few times the bytes passed
  uint64_t from_ = 0;
};

bool Scanner::Fill(uint64_t at) {
  if (window_.empty()) window_.resize(capacity_);
  size_t keep = 0, shift = 0;
  if (at >= base_ && at < base_ + length_) {
    shift = static_cast<size_t>(at - base_);
    keep = length_ - shift;
    memmove(window_.data(), window_.data() + shift, keep);
  }
  // Prefix sums and CRCs work from any common start: those of the kept bytes
  // stay.
  if (prefix_done_ > shift && keep) {
    prefix_done_ -= shift;
    memmove(sums_.data(), sums_.data() + shift, prefix_done_ + 1);
    memmove(crcs_.data(), crcs_.data() + shift, (prefix_done_ + 1) * sizeof crcs_[0]);
  } else {
    prefix_done_ = 0;
  }
  base_ = at;
  size_t want = capacity_ - keep;
  if (size_ - (at + keep) < want) want = static_cast<size_t>(size_ - (at + keep));
  size_t got = want ? source_->ReadAt(at + keep, window_.data() + keep, want) : 0;
  if (stats_) {
    stats_->bytes_read += want;
    stats_->reads += want ? 1 : 0;
  }
  length_ = keep + got;
  ++generation_;
  return got == want && !source_->Failed();
}

// Follows the sizes from `first` (the position just after a size field) to
// the chain's end. Every extended header is stepped over once per window:
// the result is kept for each one passed, and chains of other candidates
// that join this one stop there.
ChainEnd Scanner::Chain(size_t first, int width) {
  std::vector<ChainEnd>& memo = chains_[width == 2 ? 0 : 1];
  if (memo.empty()) memo.resize(capacity_ + 1);
  path_.clear();
  ChainEnd result;
  size_t q = first;
  for (;;) {
    if (q > length_) {
      result.end = kBroken;
      break;
    }
    if (memo[q].generation == generation_) {
      result = memo[q];
      break;
    }
    uint64_t next = SizeBefore(q, width);
    if (next == 0) {
      result.end = static_cast<uint32_t>(q);
      break;
    }
    if (next < static_cast<uint64_t>(width) + 1 || next > length_ - q) {
      result.end = kBroken;
      break;
    }
    if (stats_) ++stats_->chain_steps;
    path_.push_back(static_cast<uint32_t>(q));
    q += static_cast<size_t>(next);
  }
  result.generation = generation_;
  if (q <= length_) memo[q] = result;
  // Back to the front: the last CRC or sizes header of the chain wins, as
  // when the header is read.
  for (size_t i = path_.size(); i-- > 0;) {
    uint32_t at = path_[i];
    size_t body = static_cast<size_t>(SizeBefore(at, width)) - 1 - static_cast<size_t>(width);
    if (result.end != kBroken) {
      if (!result.crc_field && window_[at] == 0x00 && body >= 2) result.crc_field = at + 1;
      if (!result.sizes_body && window_[at] == 0x42 && body >= 16) result.sizes_body = at + 1;
    }
    memo[at] = result;
  }
  return result;
}

void Scanner::Prefixes(size_t upto) {
  if (sums_.empty()) {
    sums_.resize(capacity_ + 1);
    crcs_.resize(capacity_ + 1);
  }
  const ZeroCarry& carry = Carry();
  uint8_t sum = sums_[prefix_done_];
  uint16_t crc = crcs_[prefix_done_];
  for (; prefix_done_ < upto; ++prefix_done_) {
    uint8_t byte = window_[prefix_done_];
    sums_[prefix_done_ + 1] = sum = static_cast<uint8_t>(sum + byte);
    crcs_[prefix_done_ + 1] = crc = carry.Update(crc, byte);
  }
}

bool Scanner::CrcMatches(size_t begin, size_t end, uint32_t crc_field) {
  if (!crc_field) return true;
  Prefixes(end);
  const ZeroCarry& carry = Carry();
  uint16_t crc = static_cast<uint16_t>(crcs_[end] ^ carry.Through(crcs_[begin], end - begin));
  // The header's CRC is taken with its own field zeroed.
  uint16_t field = Crc16(&window_[crc_field], 2);
  crc = static_cast<uint16_t>(crc ^ carry.Through(field, end - crc_field - 2));
  return crc == Get16(&window_[crc_field]);
}

bool Scanner::PassesLevel01(size_t r, const uint8_t* p, size_t available) {
  size_t end = static_cast<size_t>(p[0]) + 2;
  if (end < 22 || end > available) return false;
  // The checksum from prefix sums: a candidate costs the same whatever its size.
  Prefixes(r + end);
  if (static_cast<uint8_t>(sums_[r + end] - sums_[r + 2]) != p[1]) return false;
  size_t name_end = 22 + static_cast<size_t>(p[21]);
  if (name_end > end) return false;
  uint64_t compressed = Get32(p + 7);
  if (p[20] == 0) return DataFits(r + end, compressed) && Confirm(r, end);
  if (name_end + 5 > end) return false;
  ChainEnd chain = Chain(r + end, 2);
  if (chain.end == kBroken) return false;
  uint64_t extended = chain.end - (r + end);
  if (extended > kScanMaxHeader) return false;
  // The compressed size counts the extended headers; a sizes header replaces it.
  if (chain.sizes_body) compressed = Get64(&window_[chain.sizes_body]);
  if (compressed < extended || !DataFits(r + end, compressed)) return false;
  return CrcMatches(r, chain.end, chain.crc_field) && Confirm(r, chain.end - r);
}

bool Scanner::PassesLevel23(size_t r, const uint8_t* p, size_t available, int level) {
  size_t fixed = level == 2 ? 26 : 32;
  if (available < fixed) return false;
  uint64_t total = level == 2 ? Get16(p) : Get32(p + 24);
  if (level == 3 && Get16(p) != 4) return false;
  if (total + 2 < fixed || total > kScanMaxHeader || total > available) return false;
  ChainEnd chain = Chain(r + fixed, level == 2 ? 2 : 4);
  if (chain.end == kBroken) return false;
  // The OS-9 archiver's level 2 size leaves out the size field: its chain
  // ends exactly 2 bytes after the declared size (as the reader accepts it).
  if (total < fixed || chain.end > r + total) {
    if (level != 2 || chain.end != r + total + 2) return false;
    total += 2;
  }
  uint64_t compressed = chain.sizes_body ? Get64(&window_[chain.sizes_body]) : Get32(p + 7);
  if (!DataFits(r + static_cast<size_t>(total), compressed)) return false;
  return CrcMatches(r, r + static_cast<size_t>(total), chain.crc_field) && Confirm(r, static_cast<size_t>(total));
}

bool Scanner::Passes(size_t r) {
  size_t available = length_ - r;
  if (available < 22) return false;
  const uint8_t* p = &window_[r];
  char method[6];
  memcpy(method, p + 2, 5);
  method[5] = 0;
  for (int i = 1; i < 4; ++i)
    if (p[2 + i] < 0x20 || p[2 + i] > 0x7E) return false;
  // Random bytes shaped like a method name rarely name a real one.
  if (!IsSupportedMethod(method) && !(method[1] == 'p' && method[2] == 'm')) return false;
  if (stats_) ++stats_->candidates;
  switch (p[20]) {
    case 0:
    case 1: return PassesLevel01(r, p, available);
    case 2:
    case 3: return PassesLevel23(r, p, available, p[20]);
    default: return false;
  }
}

// A source that answers from the window, so that the full parse of a
// candidate costs no further reads.
class WindowSource : public ByteSource {
 public:
  WindowSource(ByteSource* source, const uint8_t* window, uint64_t base, size_t length)
      : source_(source), window_(window), base_(base), length_(length) {}
  uint64_t Size() const override { return source_->Size(); }
  size_t ReadAt(uint64_t offset, uint8_t* buffer, size_t size) override {
    if (offset >= base_ && offset - base_ <= length_ &&
        (size <= length_ - (offset - base_) || base_ + length_ == source_->Size())) {
      size_t n = static_cast<size_t>(length_ - (offset - base_));
      if (n > size) n = size;
      memcpy(buffer, window_ + (offset - base_), n);
      return n;
    }
    return source_->ReadAt(offset, buffer, size);
  }
  bool Failed() const override { return source_->Failed(); }

 private:
  ByteSource* source_;
  const uint8_t* window_;
  uint64_t base_;
  size_t length_;
};

// The full parse, as the reader will do it. The checks above mirror it, so it
// fails only on what they do not see; a budget keeps even that linear.
bool Scanner::Confirm(size_t r, size_t length) {
  parsed_bytes_ += length;
  if (parsed_bytes_ > 4 * (base_ + r - from_) + 4 * kScanMaxHeader) return false;
  if (stats_) ++stats_->headers_parsed;
  WindowSource source(source_, window_.data(), base_, length_);
  Header h;
  if (ReadHeader(&source, base_ + r, &h) != Error::kOk) return false;
  if (h.data_offset > size_ || h.compressed_size > size_ - h.data_offset) return false;
  return IsSupportedMethod(h.method) || (h.method[1] == 'p' && h.method[2] == 'm');
}

bool Scanner::Find(uint64_t from, uint64_t* offset) {
  from_ = from;
  if (from >= size_) return false;
  // A small file needs no more than itself.
  capacity_ = size_ - from < kWindow ? static_cast<size_t>(size_ - from) : kWindow;
  if (!Fill(from)) return false;
  uint64_t at = from;
  for (;;) {
    // This window serves candidates whose whole reach it holds.
    bool last_window = base_ + length_ >= size_;
    size_t stop = last_window ? length_ : length_ - kReach + 1;
    size_t r = static_cast<size_t>(at - base_);
    if (r >= stop) {
      if (last_window || !Fill(at)) return false;
      continue;
    }
    // A header has "-xxx-" at its byte 2: look for dashes first.
    size_t search_end = stop + 2 < length_ ? stop + 2 : length_;
    const void* dash = r + 2 < search_end ? memchr(&window_[r + 2], '-', search_end - (r + 2)) : nullptr;
    if (!dash) {
      at = base_ + stop;
      continue;
    }
    r = static_cast<size_t>(static_cast<const uint8_t*>(dash) - window_.data()) - 2;
    at = base_ + r + 1;
    const uint8_t* p = &window_[r];
    if (r + 7 > length_ || p[6] != '-') continue;
    if (!((p[3] == 'l' && (p[4] == 'h' || p[4] == 'z' || p[4] == 'k')) || (p[3] == 'p' && p[4] == 'm'))) continue;
    if (Passes(r)) {
      *offset = base_ + r;
      return true;
    }
  }
}

}  // namespace

bool ScanForHeader(ByteSource* source, uint64_t from, uint64_t* offset, ScanStats* stats) {
  Scanner scanner(source, stats);
  return scanner.Find(from, offset);
}

}  // namespace lzh
