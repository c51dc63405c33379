#include "archiver/lzh/huffman_table.h"

namespace lzh {
namespace {

void Fill(uint32_t* p, uint32_t n, uint32_t e) {
  for (uint32_t i = 0; i < n; ++i) p[i] = e;
}

}  // namespace

// Canonical codes taken in order of (length, symbol) cover the code space
// from its start without gaps, so the table fills front to back: one run of
// entries per short code, then one second-level table per primary prefix
// that longer codes share, then kInvalid for what an incomplete code leaves.
bool BuildHuffmanTable(uint32_t* t, int primary_bits, const uint8_t* lengths, int count, const uint32_t* values) {
  const int P = primary_bits;
  constexpr uint32_t kSub = HuffmanEntry::kSub, kInvalid = HuffmanEntry::kInvalid;
  if (count > 512) return false;
  // Two halves counted apart: runs of equal lengths would otherwise wait on
  // their own increments. Lengths over 16 are refused after counting (the
  // mask keeps them inside the arrays meanwhile).
  int bl_count[32] = {0}, odd_count[32] = {0};
  int i = 0;
  for (; i + 1 < count; i += 2) {
    bl_count[lengths[i] & 31]++;
    odd_count[lengths[i + 1] & 31]++;
  }
  if (i < count) bl_count[lengths[i] & 31]++;
  for (i = 0; i < count; ++i)
    if (lengths[i] > 16) return false;
  for (int len = 1; len <= 16; ++len) bl_count[len] += odd_count[len];
  // Kraft check and where each length's symbols start in sorted order.
  int start[18];
  int left = 1;
  start[1] = 0;
  for (int len = 1; len <= 16; ++len) {
    left = (left << 1) - bl_count[len];
    if (left < 0) return false;
    start[len + 1] = start[len] + bl_count[len];
  }
  const int used = start[17];
  uint16_t sorted[512];
  for (int s = 0; s < count; ++s)
    if (lengths[s]) sorted[start[lengths[s]]++] = static_cast<uint16_t>(s);
  auto value = [values](int s) { return values ? values[s] : static_cast<uint32_t>(s) << 8; };

  uint32_t pos = 0;  // next primary entry
  i = 0;             // next symbol in sorted order
  for (; i < used && lengths[sorted[i]] <= P; ++i) {
    int len = lengths[sorted[i]];
    uint32_t run = 1u << (P - len);
    Fill(t + pos, run, value(sorted[i]) | static_cast<uint32_t>(len));
    pos += run;
  }
  // Longer codes, in 16-bit code space: each primary prefix they share gets a
  // table as wide as its longest code needs.
  uint32_t code = pos << (16 - P);
  uint32_t next_table = 1u << P;
  while (i < used) {
    uint32_t prefix = code >> (16 - P);
    int longest = P + 1, end = i;
    for (uint32_t c = code; end < used && (c >> (16 - P)) == prefix; ++end) {
      longest = lengths[sorted[end]];
      c += 1u << (16 - longest);
      code = c;
    }
    int bits = longest - P;
    t[prefix] = (next_table << 8) | kSub | static_cast<uint32_t>(bits);
    uint32_t* sub = t + next_table;
    uint32_t at = 0;
    for (; i < end; ++i) {
      int len = lengths[sorted[i]];
      uint32_t run = 1u << (longest - len);
      Fill(sub + at, run, value(sorted[i]) | static_cast<uint32_t>(len - P));
      at += run;
    }
    Fill(sub + at, (1u << bits) - at, kInvalid);
    next_table += 1u << bits;
    pos = prefix + 1;
  }
  Fill(t + pos, (1u << P) - pos, kInvalid);
  return true;
}

}  // namespace lzh
