// Test-side encoders of the methods no installed tool writes, simple
// enough to check by eye: they make valid streams for the decoders.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lzhtest {

class BitWriter {
 public:
  void Put(uint32_t value, int bits) {
    for (int i = bits - 1; i >= 0; --i) {
      acc_ = (acc_ << 1) | ((value >> i) & 1);
      if (++count_ == 8) {
        out_.push_back(static_cast<char>(acc_));
        acc_ = count_ = 0;
      }
    }
  }
  std::string Finish() {
    while (count_) Put(0, 1);
    return out_;
  }

 private:
  std::string out_;
  uint32_t acc_ = 0;
  int count_ = 0;
};

struct Token {
  int length;  // 0: literal; -1 (test streams): sixteen one bits
  uint8_t literal;
  size_t distance;
};

// Lengths of a complete code for n symbols: the first ones one bit shorter.
std::vector<int> CompleteLengths(int n);

// -lh4- to -lh7-, -lhx- and -lk7-: blocks of `tokens` with the given code
// lengths; `blocks` lists the symbol count of each block (the rest go in
// further blocks of at most 65535). A position length of 7 or more is
// written as 7 and a unary rest.
std::string EncodeLhBlocks(const std::vector<Token>& tokens, const std::vector<int>& c_len,
                           const std::vector<int>& p_len, int position_bits, std::vector<size_t> blocks = {});
// One block whose codes have fixed, complete lengths.
std::string EncodeLh(const std::string& data, int dict_bits, int position_codes, int position_bits);
std::string EncodeLh3(const std::string& data);
std::string EncodeLzs(const std::string& data);
std::string EncodeLz5(const std::string& data);
std::string EncodeLh1(const std::string& data);
std::string EncodeLh2(const std::string& data);
std::string EncodePm1(const std::string& data);
std::string EncodePm2(const std::string& data);

}  // namespace lzhtest
