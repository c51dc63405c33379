// -lh4- -lh5- -lh6- -lh7- -lhx- -lk7-: blocks of LZ77 symbols coded with
// static Huffman tables that each block carries.
#include <algorithm>
#include <cstring>

#include "archiver/lzh/bit_reader.h"
#include "archiver/lzh/decoder_internal.h"
#include "archiver/lzh/huffman_table.h"
#include "archiver/lzh/window.h"

namespace lzh {
namespace {

constexpr int kCodes = 510;          // 256 literals + match lengths 3..256
constexpr int kMaxPositionCodes = 20;
constexpr int kLengthCodes = 19;     // codes of the code-length code
constexpr int kMinMatch = 3;

class LhDecoder : public Decoder {
 public:
  LhDecoder(ByteSource* source, uint64_t offset, uint64_t size, int dict_bits, int position_codes,
            int position_bits)
      : in_(source, offset, size),
        window_(std::max(dict_bits + 1, 15), ' '),
        position_codes_(position_codes),
        position_bits_(position_bits) {}

  Error Decode(uint8_t* out, size_t size) override;

 private:
  bool ReadBlockHeader();
  bool DecodeFast(size_t stop);
  bool ReadLengthLengths(int count_bits, int special, int max_count, uint8_t* lengths, int* count, int* constant);

  BitReader in_;
  Window window_;
  int position_codes_;
  int position_bits_;
  size_t at_ = 0;  // next write position in the window
  uint32_t block_left_ = 0;
  size_t pending_length_ = 0, pending_distance_ = 0;  // match cut by the last call
  HuffmanTable<kCodes, 12> codes_;
  HuffmanTable<kMaxPositionCodes, 8> positions_;  // also holds the code-length code
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
    codes_.SetConstant(c);
  } else {
    if (n > kCodes) return false;
    int i = 0;
    while (i < n) {
      in_.Refill();
      int c = positions_.Decode(&in_);
      if (c < 0) return false;
      if (c <= 2) {
        int zeros = c == 0 ? 1 : c == 1 ? static_cast<int>(in_.Get(4)) + 3 : static_cast<int>(in_.Get(9)) + 20;
        if (zeros > n - i) return false;
        memset(lengths + i, 0, zeros);
        i += zeros;
      } else {
        lengths[i++] = static_cast<uint8_t>(c - 2);
      }
    }
    if (!codes_.Build(lengths, n)) return false;
  }
  // The position code.
  if (!ReadLengthLengths(position_bits_, -1, position_codes_, lengths, &count, &constant)) return false;
  if (constant >= 0) {
    positions_.SetConstant(constant);
    return true;
  }
  return positions_.Build(lengths, count);
}

// Decodes symbols into the window up to `stop` with the bit state and
// positions in local variables, while the input buffer holds enough for a
// refill per symbol and the block lasts. Returns false on a damaged stream.
bool LhDecoder::DecodeFast(size_t stop) {
  uint8_t* win = window_.data();
  BitCursor in = in_.Cursor();
  const uint8_t* limit = in_.FastLimit();
  size_t at = at_;
  uint32_t left = block_left_;
  bool ok = true;
  while (at < stop && left != 0 && in.next <= limit) {
    --left;
    in.Refill();
    int c = codes_.Decode(&in);
    if (c < 256) {
      if (c < 0) {
        ok = false;
        break;
      }
      win[at++] = static_cast<uint8_t>(c);
      continue;
    }
    size_t length = static_cast<size_t>(c) - 256 + kMinMatch;
    int j = positions_.Decode(&in);
    if (j < 0) {
      ok = false;
      break;
    }
    size_t distance =
        j <= 1 ? static_cast<size_t>(j) + 1 : (size_t{1} << (j - 1)) + in.Take(static_cast<unsigned>(j - 1)) + 1;
    size_t n = std::min(length, stop - at);
    window_.CopyMatch(at, distance, n);
    at += n;
    if (n < length) {
      pending_length_ = length - n;
      pending_distance_ = distance;
    }
  }
  in_.Resume(in);
  at_ = at;
  block_left_ = left;
  return ok;
}

Error LhDecoder::Decode(uint8_t* out, size_t size) {
  uint8_t* win = window_.data();
  const size_t ring = window_.size();
  while (size > 0) {
    size_t start = at_;
    size_t stop = at_ + std::min(size, ring - at_);
    if (pending_length_) {
      size_t n = std::min(pending_length_, stop - at_);
      window_.CopyMatch(at_, pending_distance_, n);
      at_ += n;
      pending_length_ -= n;
    }
    while (at_ < stop) {
      if (block_left_ == 0) {
        if (!ReadBlockHeader()) return Error::kDamagedData;
        if (in_.Overrun() > kMaxOverrun) return in_.Failed() ? Error::kReadError : Error::kTruncated;
      }
      if (!DecodeFast(stop)) return Error::kDamagedData;
      if (at_ >= stop || block_left_ == 0) continue;
      // Near the end of the input buffer: one symbol the careful way.
      --block_left_;
      in_.Refill();
      int c = codes_.Decode(&in_);
      if (c < 256) {
        if (c < 0) return Error::kDamagedData;
        win[at_++] = static_cast<uint8_t>(c);
        continue;
      }
      size_t length = static_cast<size_t>(c) - 256 + kMinMatch;
      int j = positions_.Decode(&in_);
      if (j < 0) return Error::kDamagedData;
      size_t distance = j <= 1 ? static_cast<size_t>(j) + 1
                               : (size_t{1} << (j - 1)) + in_.Take(static_cast<unsigned>(j - 1)) + 1;
      size_t n = std::min(length, stop - at_);
      window_.CopyMatch(at_, distance, n);
      at_ += n;
      if (n < length) {
        pending_length_ = length - n;
        pending_distance_ = distance;
      }
    }
    size_t produced = at_ - start;
    memcpy(out, win + start, produced);
    out += produced;
    size -= produced;
    at_ &= window_.mask();
    if (in_.Overrun() > kMaxOverrun) return in_.Failed() ? Error::kReadError : Error::kTruncated;
  }
  return Error::kOk;
}

}  // namespace

std::unique_ptr<Decoder> NewLhDecoder(ByteSource* source, uint64_t offset, uint64_t size, int dict_bits,
                                      int position_codes, int position_bits) {
  return std::unique_ptr<Decoder>(
      new LhDecoder(source, offset, size, dict_bits, position_codes, position_bits));
}

}  // namespace lzh
