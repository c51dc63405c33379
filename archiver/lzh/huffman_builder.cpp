#include "archiver/lzh/huffman_builder.h"

#include <algorithm>
#include <cstring>

namespace lzh {
namespace {

struct SymFreq {
  uint32_t freq;
  uint16_t sym;
};

// In-place minimum-redundancy code lengths (Moffat and Katajainen) over
// entries sorted by ascending frequency; afterwards entry i's freq holds its
// code length.
void MinimumRedundancy(SymFreq* a, int n) {
  if (n == 0) return;
  if (n == 1) {
    a[0].freq = 1;
    return;
  }
  a[0].freq += a[1].freq;
  int root = 0, leaf = 2;
  for (int next = 1; next < n - 1; next++) {
    if (leaf >= n || a[root].freq < a[leaf].freq) {
      a[next].freq = a[root].freq;
      a[root++].freq = static_cast<uint32_t>(next);
    } else {
      a[next].freq = a[leaf++].freq;
    }
    if (leaf >= n || (root < next && a[root].freq < a[leaf].freq)) {
      a[next].freq += a[root].freq;
      a[root++].freq = static_cast<uint32_t>(next);
    } else {
      a[next].freq += a[leaf++].freq;
    }
  }
  a[n - 2].freq = 0;
  for (int next = n - 3; next >= 0; next--) a[next].freq = a[a[next].freq].freq + 1;
  int avail = 1, used = 0, depth = 0;
  root = n - 2;
  int next = n - 1;
  while (avail > 0) {
    while (root >= 0 && static_cast<int>(a[root].freq) == depth) {
      used++;
      root--;
    }
    while (avail > used) {
      a[next--].freq = static_cast<uint32_t>(depth);
      avail--;
    }
    avail = 2 * used;
    depth++;
    used = 0;
  }
}

}  // namespace

int BuildCodeLengths(const uint32_t* freq, int n, int max_bits, uint8_t* lengths) {
  // Sorting plain integers (frequency above symbol) is much faster than
  // sorting pairs; frequencies past 16 bits take the slower path.
  uint32_t keys[1024];
  SymFreq items[1024];
  int used = 0;
  bool small = true;
  for (int i = 0; i < n; i++) {
    lengths[i] = 0;
    if (!freq[i]) continue;
    if (freq[i] > 0xFFFF) small = false;
    keys[used] = freq[i] << 16 | static_cast<uint32_t>(i);
    items[used++] = SymFreq{freq[i], static_cast<uint16_t>(i)};
  }
  if (used <= 1) return used;  // one symbol: length 0, sent as a special table
  if (small) {
    std::sort(keys, keys + used);
    for (int i = 0; i < used; i++) items[i] = SymFreq{keys[i] >> 16, static_cast<uint16_t>(keys[i] & 0xFFFF)};
  } else {
    std::sort(items, items + used, [](const SymFreq& x, const SymFreq& y) {
      return x.freq != y.freq ? x.freq < y.freq : x.sym < y.sym;
    });
  }
  MinimumRedundancy(items, used);

  // Count the lengths, fold everything longer than max_bits into max_bits and
  // restore the Kraft sum by lengthening the deepest shorter codes.
  int count[33] = {0};
  for (int i = 0; i < used; i++) count[std::min<uint32_t>(items[i].freq, 32)]++;
  for (int i = max_bits + 1; i <= 32; i++) {
    count[max_bits] += count[i];
    count[i] = 0;
  }
  uint32_t total = 0;
  for (int i = max_bits; i > 0; i--) total += static_cast<uint32_t>(count[i]) << (max_bits - i);
  while (total != (1u << max_bits)) {
    count[max_bits]--;
    for (int i = max_bits - 1; i > 0; i--) {
      if (count[i]) {
        count[i]--;
        count[i + 1] += 2;
        break;
      }
    }
    total--;
  }
  // Items are in ascending frequency: the rarest take the longest codes.
  int k = 0;
  for (int len = max_bits; len > 0; len--) {
    for (int c = count[len]; c > 0; c--) lengths[items[k++].sym] = static_cast<uint8_t>(len);
  }
  return used;
}

void BuildCodes(const uint8_t* lengths, int n, uint16_t* codes) {
  uint32_t count[kMaxCodeBits + 2] = {0};
  for (int i = 0; i < n; i++) count[lengths[i]]++;
  count[0] = 0;
  uint32_t start[kMaxCodeBits + 2];
  start[1] = 0;
  for (int len = 1; len <= kMaxCodeBits; len++) start[len + 1] = (start[len] + count[len]) << 1;
  for (int i = 0; i < n; i++) codes[i] = lengths[i] ? static_cast<uint16_t>(start[lengths[i]]++) : 0;
}

}  // namespace lzh
