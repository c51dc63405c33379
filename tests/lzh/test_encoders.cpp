#include "test_encoders.h"

#include <algorithm>
#include <map>
#include <memory>

namespace lzhtest {
namespace {

// Greedy LZ77 with a hash of three bytes; enough to exercise long matches
// and far distances.
std::vector<Token> Tokenize(const std::string& data, size_t max_distance, int min_length, int max_length) {
  std::vector<Token> tokens;
  std::map<uint32_t, std::vector<size_t>> seen;
  auto key = [&](size_t i) {
    return static_cast<uint32_t>(static_cast<uint8_t>(data[i]) | static_cast<uint8_t>(data[i + 1]) << 8 |
                                 static_cast<uint8_t>(data[i + 2]) << 16);
  };
  for (size_t i = 0; i < data.size();) {
    int best = 0;
    size_t best_distance = 0;
    if (i + 3 <= data.size()) {
      auto& list = seen[key(i)];
      for (auto it = list.rbegin(); it != list.rend() && it - list.rbegin() < 16; ++it) {
        size_t d = i - *it;
        if (d > max_distance) break;
        int len = 0;
        while (len < max_length && i + len < data.size() && data[i + len] == data[*it + len]) ++len;
        if (len > best) {
          best = len;
          best_distance = d;
        }
      }
    }
    size_t step = best >= min_length ? static_cast<size_t>(best) : 1;
    if (best >= min_length) {
      tokens.push_back({best, 0, best_distance});
    } else {
      tokens.push_back({0, static_cast<uint8_t>(data[i]), 0});
    }
    for (size_t k = 0; k < step; ++k)
      if (i + k + 3 <= data.size()) seen[key(i + k)].push_back(i + k);
    i += step;
  }
  return tokens;
}

// Canonical codes from lengths, as the LH family assigns them.
std::vector<uint32_t> Codes(const std::vector<int>& lengths) {
  std::vector<uint32_t> codes(lengths.size());
  uint32_t code = 0;
  for (int len = 1; len <= 16; ++len) {
    for (size_t s = 0; s < lengths.size(); ++s)
      if (lengths[s] == len) codes[s] = code++;
    code <<= 1;
  }
  return codes;
}

}  // namespace

std::vector<int> CompleteLengths(int n) {
  int bits = 0;
  while ((2 << bits) <= n) ++bits;  // floor(log2 n)
  int shorter = (2 << bits) - n;
  std::vector<int> lengths(n);
  for (int i = 0; i < n; ++i) lengths[i] = i < shorter ? bits : bits + 1;
  return lengths;
}

std::string EncodeLhBlocks(const std::vector<Token>& tokens, const std::vector<int>& c_len,
                           const std::vector<int>& p_len, int position_bits, std::vector<size_t> blocks) {
  std::vector<int> t_len = CompleteLengths(19);
  auto c_code = Codes(c_len), p_code = Codes(p_len), t_code = Codes(t_len);
  size_t total = 0;
  for (size_t b : blocks) total += b;
  for (; total < tokens.size(); total += blocks.back()) blocks.push_back(std::min<size_t>(tokens.size() - total, 65535));
  BitWriter w;
  size_t next = 0;
  for (size_t block : blocks) {
    w.Put(static_cast<uint32_t>(block), 16);
    // Code-length code: 19 lengths, 3 bits each, two zero-run bits after the third.
    w.Put(19, 5);
    for (int i = 0; i < 19; ++i) {
      w.Put(static_cast<uint32_t>(t_len[i]), 3);
      if (i == 2) w.Put(0, 2);
    }
    w.Put(510, 9);
    for (int i = 0; i < 510; ++i) {
      int t = c_len[i] ? c_len[i] + 2 : 0;
      w.Put(t_code[t], t_len[t]);
    }
    w.Put(static_cast<uint32_t>(p_len.size()), position_bits);
    for (int len : p_len) {
      w.Put(static_cast<uint32_t>(std::min(len, 7)), 3);
      if (len >= 7) w.Put(((1u << (len - 7)) - 1) << 1, len - 7 + 1);
    }
    for (size_t end = std::min(next + block, tokens.size()); next < end; ++next) {
      const Token& t = tokens[next];
      if (t.length < 0) {  // no code of a code with room to spare
        w.Put(0xFFFF, 16);
        continue;
      }
      if (!t.length) {
        w.Put(c_code[t.literal], c_len[t.literal]);
        continue;
      }
      int c = 256 + t.length - 3;
      w.Put(c_code[c], c_len[c]);
      size_t value = t.distance - 1;
      int j = 0;
      while ((value >> j) != 0) ++j;  // bit length of value
      w.Put(p_code[j], p_len[j]);
      if (j > 1) w.Put(static_cast<uint32_t>(value - (size_t{1} << (j - 1))), j - 1);
    }
  }
  return w.Finish();
}

// One block whose codes have fixed, complete lengths.
std::string EncodeLh(const std::string& data, int dict_bits, int position_codes, int position_bits) {
  std::vector<Token> tokens = Tokenize(data, size_t{1} << dict_bits, 3, 256);
  return EncodeLhBlocks(tokens, CompleteLengths(510), CompleteLengths(position_codes), position_bits, {tokens.size()});
}

// -lh3-: two blocks, the first with the fixed position code, the second
// with one sent in the block; long matches use the last length code plus
// eight bits.
std::string EncodeLh3(const std::string& data) {
  std::vector<Token> tokens = Tokenize(data, 8192, 3, 256);
  std::vector<int> c_len = CompleteLengths(286);
  std::vector<uint32_t> c_code = Codes(c_len);
  std::vector<int> fixed(128);
  for (int i = 0; i < 128; ++i) fixed[i] = i < 1 ? 2 : i < 3 ? 4 : i < 6 ? 5 : i < 13 ? 6 : i < 31 ? 7 : i < 78 ? 8 : 9;
  std::vector<int> sent = CompleteLengths(128);
  BitWriter w;
  size_t half = tokens.size() / 2;
  for (int block = 0; block < 2; ++block) {
    size_t first = block ? half : 0, last = block ? tokens.size() : half;
    const std::vector<int>& p_len = block ? sent : fixed;
    std::vector<uint32_t> p_code = Codes(p_len);
    w.Put(static_cast<uint32_t>(last - first), 16);
    for (int len : c_len) {
      w.Put(1, 1);
      w.Put(static_cast<uint32_t>(len - 1), 4);
    }
    w.Put(block, 1);
    if (block)
      for (int len : p_len) w.Put(static_cast<uint32_t>(len), 4);
    for (size_t i = first; i < last; ++i) {
      const Token& t = tokens[i];
      if (!t.length) {
        w.Put(c_code[t.literal], c_len[t.literal]);
        continue;
      }
      int c = t.length + 253;
      if (c >= 285) {
        w.Put(c_code[285], c_len[285]);
        w.Put(static_cast<uint32_t>(c - 285), 8);
      } else {
        w.Put(c_code[c], c_len[c]);
      }
      uint32_t value = static_cast<uint32_t>(t.distance - 1);
      w.Put(p_code[value >> 6], p_len[value >> 6]);
      w.Put(value & 0x3F, 6);
    }
  }
  return w.Finish();
}

// -lzs-: 2 KiB ring, first write at 2031; flag bit, then a byte or an
// 11-bit ring position and a 4-bit length - 2.
std::string EncodeLzs(const std::string& data) {
  BitWriter w;
  size_t r = 2048 - 17;
  for (const Token& t : Tokenize(data, 2000, 2, 17)) {
    if (!t.length) {
      w.Put(1, 1);
      w.Put(t.literal, 8);
      ++r;
    } else {
      w.Put(0, 1);
      w.Put(static_cast<uint32_t>((r - t.distance) & 0x7FF), 11);
      w.Put(static_cast<uint32_t>(t.length - 2), 4);
      r += t.length;
    }
  }
  return w.Finish();
}

// -lz5-: 4 KiB ring, first write at 4078; flag bytes (LSB first, 1 =
// literal), matches as 12-bit ring position and length - 3 in two bytes.
std::string EncodeLz5(const std::string& data) {
  std::string out;
  std::vector<Token> tokens = Tokenize(data, 4000, 3, 18);
  size_t r = 4096 - 18;
  for (size_t i = 0; i < tokens.size(); i += 8) {
    size_t flag_at = out.size();
    out.push_back(0);
    for (size_t k = 0; k < 8 && i + k < tokens.size(); ++k) {
      const Token& t = tokens[i + k];
      if (!t.length) {
        out[flag_at] = static_cast<char>(out[flag_at] | (1 << k));
        out.push_back(static_cast<char>(t.literal));
        ++r;
      } else {
        size_t pos = (r - t.distance) & 0xFFF;
        out.push_back(static_cast<char>(pos & 0xFF));
        out.push_back(static_cast<char>(((pos >> 4) & 0xF0) | (t.length - 3)));
        r += t.length;
      }
    }
  }
  return out;
}

namespace {

// -lh1-: literals and lengths 3..60 through an adaptive Huffman tree (the
// classic one: leaves low, root high, counts halved at 0x8000), positions
// as a fixed code for the upper six bits plus six plain bits.
class AdaptiveTree {
 public:
  static constexpr int kChars = 314, kNodes = 2 * kChars - 1, kRoot = kNodes - 1;
  AdaptiveTree() {
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
    freq_[kNodes] = 0xFFFF;
    parent_[kRoot] = 0;
  }
  void Encode(int c, BitWriter* w) {
    std::vector<int> bits;
    for (int k = parent_[c + kNodes]; k != kRoot; k = parent_[k]) bits.push_back(k & 1);
    for (auto it = bits.rbegin(); it != bits.rend(); ++it) w->Put(static_cast<uint32_t>(*it), 1);
    Update(c);
  }

 private:
  void Rebuild() {
    int j = 0;
    for (int i = 0; i < kNodes; ++i)
      if (son_[i] >= kNodes) {
        freq_[j] = (freq_[i] + 1) / 2;
        son_[j++] = son_[i];
      }
    for (int i = 0, n = kChars; n < kNodes; i += 2, ++n) {
      unsigned f = freq_[i] + freq_[i + 1];
      int k = n - 1;
      while (f < freq_[k]) --k;
      ++k;
      for (int m = n; m > k; --m) {
        freq_[m] = freq_[m - 1];
        son_[m] = son_[m - 1];
      }
      freq_[k] = f;
      son_[k] = i;
    }
    for (int i = 0; i < kNodes; ++i) {
      int k = son_[i];
      parent_[k] = i;
      if (k < kNodes) parent_[k + 1] = i;
    }
  }
  void Update(int c) {
    if (freq_[kRoot] == 0x8000) Rebuild();
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
  unsigned freq_[kNodes + 1];
  int son_[kNodes];
  int parent_[kNodes + kChars];
};

}  // namespace

std::string EncodeLh1(const std::string& data) {
  // Upper six position bits: 1 code of 3 bits, 3 of 4, 8 of 5, 12 of 6,
  // 24 of 7, 16 of 8.
  std::vector<int> p_len;
  for (auto run : {std::pair<int, int>{1, 3}, {3, 4}, {8, 5}, {12, 6}, {24, 7}, {16, 8}})
    p_len.insert(p_len.end(), run.first, run.second);
  std::vector<uint32_t> p_code = Codes(p_len);
  std::unique_ptr<AdaptiveTree> tree(new AdaptiveTree);
  BitWriter w;
  for (const Token& t : Tokenize(data, 4096, 3, 60)) {
    if (!t.length) {
      tree->Encode(t.literal, &w);
      continue;
    }
    tree->Encode(256 + t.length - 3, &w);
    uint32_t value = static_cast<uint32_t>(t.distance - 1);
    w.Put(p_code[value >> 6], p_len[value >> 6]);
    w.Put(value & 0x3F, 6);
  }
  return w.Finish();
}

namespace {

// -pm2-: literals as places in a most-recently-used byte list, copies with
// a code that gives both the length and the kind of offset; the trees are
// sent again at 1, 2, 4 and 8 KiB of output (and may be every 4 KiB after).
class Pm2Encoder {
 public:
  std::string Encode(const std::string& data) {
    InitRecent();
    w_.Put(0, 1);
    PutCodeTree();
    PutOffsetTree(5);
    std::vector<Token> tokens = Tokenize(data, 8192, 2, 256);
    size_t at = 0;
    for (const Token& t : tokens) {
      if (t.length == 0 || (t.length == 2 && t.distance > 64)) {
        int n = t.length ? t.length : 1;
        for (int k = 0; k < n; ++k) PutLiteral(static_cast<uint8_t>(data[at + k]));
      } else {
        PutCopy(t.length, t.distance - 1);
        for (int k = 0; k < t.length; ++k) Recent(static_cast<uint8_t>(data[at + k]));
      }
      size_t before = at;
      at += t.length ? t.length : 1;
      // Tree updates come right after the token that crosses a boundary.
      for (size_t boundary : {size_t{1024}, size_t{2048}, size_t{4096}}) {
        if (before < boundary && at >= boundary) {
          if (boundary == 4096) w_.Put(0, 1);
          PutOffsetTree(boundary == 1024 ? 6 : boundary == 2048 ? 7 : 8);
        }
      }
      for (size_t boundary = 8192; boundary <= at; boundary += 4096) {
        if (before < boundary) {
          bool resend = boundary == 8192;  // once, to exercise it
          w_.Put(resend ? 1 : 0, 1);
          if (resend) {
            PutCodeTree();
            PutOffsetTree(8);
          }
        }
      }
    }
    return w_.Finish();
  }

 private:
  // 28 codes: 8 literal kinds, then copy codes 0..19.
  void PutCodeTree() {
    code_len_ = CompleteLengths(28);
    code_ = Codes(code_len_);
    w_.Put(28, 5);
    w_.Put(static_cast<uint32_t>(code_len_[0]), 3);  // shortest length
    w_.Put(2, 3);                                    // bits per length
    for (int len : code_len_) w_.Put(static_cast<uint32_t>(len - code_len_[0] + 1), 2);
  }
  void PutOffsetTree(int n) {
    off_len_ = CompleteLengths(n);
    off_ = Codes(off_len_);
    for (int len : off_len_) w_.Put(static_cast<uint32_t>(len), 3);
  }
  void PutCode(int c) { w_.Put(code_[c], code_len_[c]); }

  void PutLiteral(uint8_t b) {
    unsigned place = 0;
    for (uint8_t x = head_; x != b; x = older_[x]) ++place;
    static const unsigned kBase[] = {0, 8, 16, 32, 64, 96, 128, 192, 256};
    static const int kBits[] = {3, 3, 4, 5, 5, 5, 6, 6};
    int c = 0;
    while (place >= kBase[c + 1]) ++c;
    PutCode(c);
    w_.Put(place - kBase[c], kBits[c]);
    Recent(b);
  }
  void PutCopy(int length, size_t offset) {
    int code;
    if (length <= 16) {
      code = length - 2;
      PutCode(8 + code);
    } else {
      static const int kBase[] = {17, 25, 33, 65, 129, 257};
      static const int kBits[] = {3, 3, 5, 6, 7};
      int k = 0;
      while (length >= kBase[k + 1]) ++k;
      code = 15 + k;
      PutCode(8 + code);
      w_.Put(static_cast<uint32_t>(length - kBase[k]), kBits[k]);
    }
    if (code == 0) {
      w_.Put(static_cast<uint32_t>(offset), 6);
      return;
    }
    int v = 0;
    if (offset >= 64) {
      int top = 0;
      while ((offset >> (top + 1)) != 0) ++top;
      v = top - 5;
    }
    w_.Put(off_[v], off_len_[v]);
    int bits = v ? v + 5 : 6;
    w_.Put(static_cast<uint32_t>(v ? offset - (size_t{1} << bits) : offset), bits);
  }

  void InitRecent() {
    for (int i = 0; i < 256; ++i) {
      older_[i] = static_cast<uint8_t>(i + 1);
      newer_[i] = static_cast<uint8_t>(i - 1);
    }
    head_ = 0x20;
    const uint8_t links[][2] = {{0x7F, 0x00}, {0x1F, 0xA0}, {0xDF, 0x80}, {0x9F, 0xE0}, {0xFF, 0x20}};
    for (const auto& l : links) {
      older_[l[0]] = l[1];
      newer_[l[1]] = l[0];
    }
  }
  void Recent(uint8_t b) {
    if (b == head_) return;
    older_[newer_[b]] = older_[b];
    newer_[older_[b]] = newer_[b];
    older_[b] = head_;
    newer_[b] = newer_[head_];
    older_[newer_[head_]] = b;
    newer_[head_] = b;
    head_ = b;
  }

  BitWriter w_;
  std::vector<int> code_len_, off_len_;
  std::vector<uint32_t> code_, off_;
  uint8_t older_[256], newer_[256], head_ = 0;
};

// -pm1-: static codes. Literal runs (1..216, each literal a place in the
// most-recently-used list, its range coded by the tree the first five bits
// choose) are followed by a copy unless they are 216 long; copy kinds and
// distance widths grow with the output.
class Pm1Encoder {
 public:
  std::string Encode(const std::string& data) {
    for (int i = 0; i < 256; ++i) {
      older_[i] = static_cast<uint8_t>(i + 1);
      newer_[i] = static_cast<uint8_t>(i - 1);
    }
    head_ = 0x20;
    const uint8_t links[][2] = {{0x7F, 0x00}, {0x1F, 0xA0}, {0xDF, 0x80}, {0x9F, 0xE0}, {0xFF, 0x20}};
    for (const auto& l : links) {
      older_[l[0]] = l[1];
      newer_[l[1]] = l[0];
    }
    // Tree 9: (a (((b f) c) (d e))); ranges a..f as codes below.
    w_.Put(9, 5);
    std::vector<Token> tokens = Tokenize(data, 10000, 2, 244);
    std::string run;
    for (const Token& t : tokens) {
      bool copy = t.length >= 3 || (t.length == 2 && t.distance <= 320);
      if (!copy) {
        run.append(data, at_ + run.size(), t.length ? t.length : 1);
        continue;
      }
      FlushRun(&run, true);
      PutCopy(t.length, t.distance - 1);
      for (int k = 0; k < t.length; ++k) Recent(static_cast<uint8_t>(data[at_ + k]));
      at_ += t.length;
    }
    if (!run.empty()) {
      FlushRun(&run, false);
      // A run is followed by a copy: give it one past the end.
      PutCopy(2, 0);
    }
    return w_.Finish();
  }

 private:
  void FlushRun(std::string* run, bool copy_follows) {
    if (run->empty()) {
      w_.Put(0, 1);  // a plain copy command
      return;
    }
    while (!run->empty()) {
      size_t n = std::min<size_t>(run->size(), 216);
      if (n == run->size() && n == 216 && copy_follows) n = 215;  // so a copy may follow
      w_.Put(1, 1);
      PutRunLength(static_cast<unsigned>(n));
      for (size_t k = 0; k < n; ++k) PutLiteral(static_cast<uint8_t>((*run)[k]));
      at_ += n;
      run->erase(0, n);
    }
  }
  void PutRunLength(unsigned n) {
    if (n <= 3) return w_.Put(n - 1, 2);
    w_.Put(3, 2);
    if (n <= 10) return w_.Put(n - 4, 3);
    w_.Put(7, 3);
    if (n <= 24) return w_.Put(n - 11, 4);
    if (n <= 88) {
      w_.Put(14, 4);
      return w_.Put(n - 25, 6);
    }
    w_.Put(15, 4);
    w_.Put(n - 89, 7);
  }
  void PutLiteral(uint8_t b) {
    unsigned place = 0;
    for (uint8_t x = head_; x != b; x = older_[x]) ++place;
    static const unsigned kBase[] = {0, 16, 32, 64, 128, 192, 256};
    static const int kBits[] = {4, 4, 5, 6, 6, 6};
    // Codes of tree 9 for ranges a..f.
    static const char* const kCode[] = {"0", "1000", "101", "110", "111", "1001"};
    int r = 0;
    while (place >= kBase[r + 1]) ++r;
    for (const char* c = kCode[r]; *c; ++c) w_.Put(*c == '1', 1);
    w_.Put(place - kBase[r], kBits[r]);
    Recent(b);
  }
  void Bit(uint64_t threshold, unsigned bit) {
    if (at_ >= threshold) w_.Put(bit, 1);
  }
  void PutCopy(int length, size_t distance) {
    // Kind: 0/1 two bytes from below 64/320; 2..5 longer, from below 64,
    // 576, 2624, 10816.
    int kind = length == 2 ? (distance < 64 ? 0 : 1)
                           : distance < 64 ? 2 : distance < 576 ? 3 : distance < 2624 ? 4 : 5;
    switch (kind) {
      case 0: w_.Put(0, 1); Bit(576, 0); Bit(64, 0); break;
      case 1: w_.Put(0, 1); Bit(576, 0); Bit(64, 1); break;
      case 4: w_.Put(0, 1); Bit(576, 1); break;
      case 3: w_.Put(1, 1); Bit(64, 0); break;
      case 2: w_.Put(1, 1); Bit(64, 1); Bit(2624, 1); break;
      case 5: w_.Put(1, 1); Bit(64, 1); Bit(2624, 0); break;
    }
    if (kind >= 2) PutCopyLength(static_cast<unsigned>(length));
    unsigned base = 0, bits = 6;
    if (kind == 1) base = 64, bits = 8;
    if (kind == 3) base = 64, bits = at_ < 320 ? 8 : 9;
    if (kind == 4) base = 576, bits = at_ < 832 ? 8 : at_ < 1088 ? 9 : at_ < 1600 ? 10 : 11;
    if (kind == 5)
      base = 2624, bits = at_ < 2880 ? 8 : at_ < 3136 ? 9 : at_ < 3648 ? 10 : at_ < 4672 ? 11 : at_ < 6720 ? 12 : 13;
    w_.Put(static_cast<uint32_t>(distance - base), static_cast<int>(bits));
  }
  void PutCopyLength(unsigned n) {
    if (n <= 5) return w_.Put(n - 3, 2);
    w_.Put(3, 2);
    if (n <= 10) return w_.Put(n - 6, 3);
    if (n <= 14) {
      w_.Put(5, 3);
      return w_.Put(n - 11, 2);
    }
    if (n <= 22) {
      w_.Put(6, 3);
      return w_.Put(n - 15, 3);
    }
    w_.Put(7, 3);
    if (n <= 84) return w_.Put(n - 23, 6);
    if (n <= 116) {
      w_.Put(62, 6);
      return w_.Put(n - 85, 5);
    }
    w_.Put(63, 6);
    w_.Put(n - 117, 7);
  }
  void Recent(uint8_t b) {
    if (b == head_) return;
    older_[newer_[b]] = older_[b];
    newer_[older_[b]] = newer_[b];
    older_[b] = head_;
    newer_[b] = newer_[head_];
    older_[newer_[head_]] = b;
    newer_[head_] = b;
    head_ = b;
  }

  BitWriter w_;
  size_t at_ = 0;
  uint8_t older_[256], newer_[256], head_ = 0;
};

}  // namespace

std::string EncodePm2(const std::string& data) { return Pm2Encoder().Encode(data); }
std::string EncodePm1(const std::string& data) { return Pm1Encoder().Encode(data); }

namespace {

// -lh2-: the encoder's own adaptive trees. Nodes sit in count order, root
// at 0; node n's children are child[n] (bit 0) and child[n] - 1 (bit 1); a
// leaf holds ~symbol. Counting a node first swaps it with the first node of
// equal count (found by scanning back), so the order holds.
class CountedTree {
 public:
  // `leaves` symbols, each counted once, paired in a heap under the root.
  explicit CountedTree(int leaves, int capacity) : freq_(capacity + 1), child_(capacity + 1), parent_(capacity + 1) {
    leaf_.resize(512);
    int last = 2 * leaves - 2;
    for (int i = 0; i < leaves; ++i) Set(last - i, 1, ~i);
    for (int n = leaves - 2; n >= 0; --n) Set(n, freq_[2 * n + 1] + freq_[2 * n + 2], 2 * n + 2);
    end_ = last + 1;
  }
  // A tree of one leaf (the position tree at the start).
  CountedTree(int capacity, bool) : freq_(capacity + 1), child_(capacity + 1), parent_(capacity + 1) {
    leaf_.resize(512);
    Set(0, 1, ~0);
    end_ = 1;
  }
  // The bits of `symbol`'s code, root first.
  void Put(BitWriter* w, int symbol) const {
    std::vector<int> bits;
    for (int n = leaf_[symbol]; n != 0; n = parent_[n]) bits.push_back(n & 1);
    for (size_t i = bits.size(); i-- > 0;) w->Put(static_cast<uint32_t>(bits[i]), 1);
  }
  // Counts `symbol` and its ancestors below the root.
  void Count(int symbol) {
    for (int n = leaf_[symbol]; n != 0;) {
      int first = n;
      while (first > 1 && freq_[first - 1] == freq_[n]) --first;
      if (first != n) {
        int a = child_[n], b = child_[first];
        Set(n, freq_[n], b);
        Set(first, freq_[first], a);
      }
      ++freq_[first];
      n = parent_[first];
    }
  }
  unsigned& root_count() { return freq_[0]; }
  // Splits the last node: it keeps what it held one place on, and `symbol`
  // gets a new leaf of count 0 after it.
  void Split(int symbol) {
    int last = end_ - 1;
    Set(last + 1, freq_[last], child_[last]);
    Set(last + 2, 0, ~symbol);
    Set(last, freq_[last], last + 2);
    end_ += 2;
  }
  // Halves every leaf's count (rounding up) and rebuilds the inner nodes:
  // each new node goes before every leaf still waiting whose count is not
  // larger than its own.
  void Rebuild() {
    std::vector<std::pair<unsigned, int>> leaves;
    for (int n = 0; n < end_; ++n)
      if (child_[n] < 0) leaves.push_back({(freq_[n] + 1) / 2, child_[n]});
    int j = static_cast<int>(leaves.size()) - 1, i = end_ - 1, l = end_ - 2;
    while (i >= 0) {
      for (; i >= l; --i, --j) Set(i, leaves[j].first, leaves[j].second);
      unsigned f = freq_[l] + freq_[l + 1];
      for (; j >= 0 && leaves[j].first <= f; --i, --j) Set(i, leaves[j].first, leaves[j].second);
      Set(i--, f, l + 1);
      l -= 2;
    }
  }
  int end() const { return end_; }

 private:
  void Set(int n, unsigned freq, int child) {
    freq_[n] = freq;
    child_[n] = child;
    if (child < 0) {
      leaf_[~child] = n;
    } else {
      parent_[child] = parent_[child - 1] = n;
    }
  }
  std::vector<unsigned> freq_;
  std::vector<int> child_, parent_, leaf_;
  int end_ = 0;
};

}  // namespace

std::string EncodeLh2(const std::string& data) {
  BitWriter w;
  CountedTree chars(286, 571), positions(256, true);
  unsigned position_total = 0;
  uint64_t count = 0, next = 64;
  auto put_char = [&](int c) {
    chars.Put(&w, c);
    if (chars.root_count() == 0x8000) chars.Rebuild();
    ++chars.root_count();
    chars.Count(c);
  };
  auto count_position = [&](int group) {
    if (position_total == 0x8000) {
      positions.Rebuild();
      position_total = positions.root_count();
      positions.root_count() = 0xFFFF;
    }
    positions.Count(group);
    ++position_total;
  };
  for (const Token& t : Tokenize(data, 8192, 3, 256)) {
    if (!t.length) {
      put_char(t.literal);
      ++count;
      continue;
    }
    if (t.length >= 32) {
      put_char(285);
      w.Put(static_cast<uint32_t>(t.length - 32), 8);
    } else {
      put_char(256 + t.length - 3);
    }
    // The position tree gains a leaf for every 64 bytes written so far.
    for (; count > next; next = next + 64 >= 8192 ? UINT64_MAX : next + 64) {
      bool first_split = positions.end() == 1;
      positions.Split(static_cast<int>(next / 64));
      if (first_split) positions.root_count() = 0xFFFF;  // the root no longer counts
      count_position(static_cast<int>(next / 64));
    }
    size_t position = t.distance - 1;
    positions.Put(&w, static_cast<int>(position >> 6));
    count_position(static_cast<int>(position >> 6));
    w.Put(static_cast<uint32_t>(position & 63), 6);
    count += t.length;
  }
  return w.Finish();
}

}  // namespace lzhtest
