// -lh4- -lh5- -lh6- -lh7- -lhx- -lk7-: blocks of LZ77 symbols coded with
// static Huffman tables that each block carries.
#include <algorithm>
#include <cstddef>
#include <cstring>

#include "archiver/lzh/huffman_table.h"
#include "archiver/lzh/lz_decoder.h"

namespace lzh {
namespace {

constexpr int kCodes = 510;          // 256 literals + match lengths 3..256
constexpr int kMaxPositionCodes = 20;
constexpr int kLengthCodes = 19;     // codes of the code-length code
constexpr int kMinMatch = 3;
constexpr size_t kMaxMatch = 256;

constexpr int kCodePrimaryBits = 11;
using CodeTable = HuffmanTable<kCodes, kCodePrimaryBits>;
using PositionTable = HuffmanTable<kMaxPositionCodes, 8>;
constexpr uint32_t kInvalid = CodeTable::kInvalid;
static_assert(PositionTable::kInvalid == kInvalid, "one flag for both tables");

// Table values: a literal with its flag, or a match length.
constexpr uint32_t kLiteral = 0x80;
uint32_t CodeValue(int c) {
  return c < 256 ? static_cast<uint32_t>(c) << 8 | kLiteral : static_cast<uint32_t>(c - 256 + kMinMatch) << 8;
}
// Position code j: distance base (bits 13 up) and the count of extra bits
// that follow the code (bits 8-12).
uint32_t PositionValue(int j) {
  uint32_t extra = j <= 1 ? 0 : static_cast<uint32_t>(j - 1);
  uint32_t base = j <= 1 ? static_cast<uint32_t>(j) + 1 : (1u << extra) + 1;
  return base << 13 | extra << 8;
}
template <class Bits>
inline size_t Distance(uint32_t position, Bits* in) {
  return (position >> 13) + in->TakeAny(position >> 8 & 31);
}

// The literal/length code's n lengths, coded with the code-length code
// (symbols 0-2: runs of zeros; c > 2: length c - 2).
template <class Bits>  // BitReader or BitCursor
bool ReadCodeLengths(Bits* in, const PositionTable& code_lengths, int n, uint8_t* lengths) {
  int i = 0;
  while (i < n) {
    in->Refill();
    uint32_t e = code_lengths.Lookup(in);
    if (e & kInvalid) return false;
    int c = static_cast<int>(e >> 8);
    if (c <= 2) {
      int zeros = c == 0 ? 1 : c == 1 ? static_cast<int>(in->TakeAny(4)) + 3 : static_cast<int>(in->TakeAny(9)) + 20;
      if (zeros > n - i) return false;
      memset(lengths + i, 0, zeros);
      i += zeros;
    } else {
      lengths[i++] = static_cast<uint8_t>(c - 2);
    }
  }
  return true;
}

class LhDecoder final : public LzDecoder {
 public:
  LhDecoder(ByteSource* source, uint64_t offset, uint64_t size, int dict_bits, int position_codes,
            int position_bits)
      // Twice the dictionary, and at least 128 KiB: output leaves in pieces
      // up to the ring's end, each with a careful tail, so fewer is faster.
      : LzDecoder(source, offset, size, std::max(dict_bits + 1, 17), ' '),
        position_codes_(position_codes),
        position_bits_(position_bits) {
    for (int c = 0; c < kCodes; ++c) code_values_[c] = CodeValue(c);
    for (int j = 0; j < kMaxPositionCodes; ++j) position_values_[j] = PositionValue(j);
  }

  Error Step(size_t stop) override;

 private:
  bool ReadBlockHeader();
  bool DecodeFast(size_t stop);
  bool DecodeOne(size_t stop);
  bool ReadLengthLengths(int count_bits, int special, int max_count, uint8_t* lengths, int* count, int* constant);

  int position_codes_;
  int position_bits_;
  uint32_t block_left_ = 0;
  CodeTable codes_;
  PositionTable positions_;  // also holds the code-length code
  uint32_t code_values_[kCodes], position_values_[kMaxPositionCodes];  // the tables' entry values
};

// Reads code lengths of the small codes (code-length code and positions).
bool LhDecoder::ReadLengthLengths(int count_bits, int special, int max_count, uint8_t* lengths, int* count,
                                  int* constant) {
  int n = static_cast<int>(in_.Get(count_bits));
  *constant = -1;
  if (n == 0) {
    int c = static_cast<int>(in_.Get(count_bits));
    if (c >= max_count) return false;
    *constant = c;
    *count = 0;
    return true;
  }
  if (n > max_count) return false;
  int i = 0;
  while (i < n) {
    int c = static_cast<int>(in_.Get(3));
    if (c == 7) {
      while (in_.Get(1)) {
        if (++c > 16) return false;
      }
    }
    lengths[i++] = static_cast<uint8_t>(c);
    if (i == special) {
      int zeros = static_cast<int>(in_.Get(2));
      while (zeros-- > 0 && i < n) lengths[i++] = 0;
    }
  }
  *count = n;
  return true;
}

bool LhDecoder::ReadBlockHeader() {
  uint32_t size = in_.Get(16);
  block_left_ = size ? size : 0x10000;
  uint8_t lengths[kCodes];
  int count, constant;
  // The code-length code, then the literal/length code through it.
  if (!ReadLengthLengths(5, 3, kLengthCodes, lengths, &count, &constant)) return false;
  if (constant >= 0) {
    positions_.SetConstant(constant);
  } else if (!positions_.Build(lengths, count)) {
    return false;
  }
  int n = static_cast<int>(in_.Get(9));
  if (n == 0) {
    int c = static_cast<int>(in_.Get(9));
    if (c >= kCodes) return false;
    codes_.SetConstantValue(CodeValue(c));
  } else {
    if (n > kCodes) return false;
    // Each length takes at most 16 + 9 bits: with room for all of them the
    // bit state can live in registers.
    // (Builds optimised for size keep one way.)
    bool ok;
#ifndef __OPTIMIZE_SIZE__
    if (in_.FastLimit() - in_.Cursor().next >= 4 * n + 8) {
      BitCursor cursor = in_.Cursor();
      ok = ReadCodeLengths(&cursor, positions_, n, lengths);
      in_.Resume(cursor);
    } else
#endif
    {
      ok = ReadCodeLengths(&in_, positions_, n, lengths);
    }
    if (!ok || !codes_.Build(lengths, n, code_values_)) return false;
  }
  // The position code.
  if (!ReadLengthLengths(position_bits_, -1, position_codes_, lengths, &count, &constant)) return false;
  if (constant >= 0) {
    positions_.SetConstantValue(PositionValue(constant));
    return true;
  }
  return positions_.Build(lengths, count, position_values_);
}

// Decodes symbols into the window while a whole match fits before `stop`,
// the block lasts and the input buffer holds enough for a refill per symbol,
// with the bit state and positions in local variables. Returns false on a
// damaged stream.
bool LhDecoder::DecodeFast(size_t stop) {
  if (stop - at_ < kMaxMatch) return true;
  const size_t last = stop - kMaxMatch;
  // A symbol takes at most 16 + 16 + 18 bits, so a refill per symbol (and
  // one ahead) moves `next` on by under 8 bytes: that many keep it in bounds.
  ptrdiff_t room = in_.FastLimit() - in_.Cursor().next;
  if (room < 24) return true;
  const uint32_t budget =
      std::min<uint32_t>(block_left_, static_cast<uint32_t>(std::min<ptrdiff_t>(room / 8 - 2, 1 << 20)));
  uint8_t* win = window_.data();
  BitCursor in = in_.Cursor();
  size_t at = at_;
  uint32_t left = budget;
  bool ok = true;
  // The next symbol's primary entry is fetched as soon as its bits are
  // known: after a literal that is before the refill, which the at least 40
  // bits left make unnecessary for it.
  in.Refill();
  uint32_t e = codes_.First(in.Peek(kCodePrimaryBits));
  while (left != 0 && at <= last) {
    --left;
    e = codes_.Finish(e, &in);
    if (e & kLiteral) {
      win[at++] = static_cast<uint8_t>(e >> 8);
      uint32_t index = in.Peek(kCodePrimaryBits);
      in.Refill();
      e = codes_.First(index);
      continue;
    }
    uint32_t p = positions_.Lookup(&in);
    if ((e | p) & kInvalid) {
      ok = false;
      break;
    }
    size_t length = e >> 8;
    Window::CopyMatch(win, &window_, at, Distance(p, &in), length);
    at += length;
    in.Refill();
    e = codes_.First(in.Peek(kCodePrimaryBits));
  }
  in_.Resume(in);
  at_ = at;
  block_left_ -= budget - left;
  return ok;
}

// One symbol the careful way (near the end of the output or of the input
// buffer): a match may be cut at `stop` and finished by the next call.
bool LhDecoder::DecodeOne(size_t stop) {
  --block_left_;
  in_.Refill();
  uint32_t e = codes_.Lookup(&in_);
  if (e & kLiteral) {
    window_.data()[at_++] = static_cast<uint8_t>(e >> 8);
    return true;
  }
  uint32_t p = positions_.Lookup(&in_);
  if ((e | p) & kInvalid) return false;
  size_t length = e >> 8;
  Match(Distance(p, &in_), length, stop);
  return true;
}

// A run of symbols: fast while it can, then one the careful way.
Error LhDecoder::Step(size_t stop) {
  if (block_left_ == 0) {
    if (!ReadBlockHeader()) return Error::kDamagedData;
    if (Cut()) return CutError();
  }
  if (!DecodeFast(stop)) return Error::kDamagedData;
  if (at_ < stop && block_left_ != 0 && !DecodeOne(stop)) return Error::kDamagedData;
  return Error::kOk;
}

}  // namespace

std::unique_ptr<Decoder> NewLhDecoder(ByteSource* source, uint64_t offset, uint64_t size, int dict_bits,
                                      int position_codes, int position_bits) {
  return std::unique_ptr<Decoder>(
      new LhDecoder(source, offset, size, dict_bits, position_codes, position_bits));
}

}  // namespace lzh
