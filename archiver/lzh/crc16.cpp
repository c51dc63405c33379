#include "archiver/lzh/crc16.h"

// Builds optimised for size (the self-extractors) keep to the tables.
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__)) && !defined(__OPTIMIZE_SIZE__)
#define LZH_CRC16_CLMUL 1
#include <cpuid.h>
#include <emmintrin.h>
#include <wmmintrin.h>
#endif

namespace lzh {
namespace {

// x^n mod P for P = x^16 + x^15 + x^2 + 1, bit d holding the coefficient of x^d.
unsigned PowerModP(int n) {
  unsigned r = 1;
  for (int i = 0; i < n; ++i) {
    r <<= 1;
    if (r & 0x10000u) r ^= 0x18005u;
  }
  return r;
}

// Slicing-by-8: entry[k][b] is the CRC contribution of byte b followed by k
// zero bytes, so eight bytes fold in with eight lookups and no dependency
// chain between them. Carry-less multiplication constants, where the
// processor has it, are computed here too (nothing large is stored).
struct Crc16Tables {
  uint16_t entry[8][256];
  bool clmul = false;
  // Multipliers that move 64 bits of a 128-bit block n bits further on, in the
  // bit-reflected form the blocks are loaded in: fold[i] for n = 128 * (i + 1)
  // and n + 64.
  uint64_t fold[4][2];

  Crc16Tables() {
    for (unsigned i = 0; i < 256; ++i) {
      unsigned r = i;
      for (int bit = 0; bit < 8; ++bit) r = (r & 1) ? (r >> 1) ^ 0xA001u : r >> 1;
      entry[0][i] = static_cast<uint16_t>(r);
    }
    for (int k = 1; k < 8; ++k)
      for (unsigned i = 0; i < 256; ++i)
        entry[k][i] = static_cast<uint16_t>((entry[k - 1][i] >> 8) ^ entry[0][entry[k - 1][i] & 0xFF]);
    for (int i = 0; i < 4; ++i) {
      fold[i][0] = Reflected(128 * (i + 1) + 64);
      fold[i][1] = Reflected(128 * (i + 1));
    }
#ifdef LZH_CRC16_CLMUL
    unsigned a, b, c, d;
    clmul = __get_cpuid(1, &a, &b, &c, &d) && (c & bit_PCLMUL) && (d & bit_SSE2);
#endif
  }

  // x^n mod P as a 64-bit lane whose product with a reflected lane comes out
  // aligned to a 128-bit reflected block: bit 63 - d for x^(d + 1).
  static uint64_t Reflected(int n) {
    unsigned r = PowerModP(n - 1);
    uint64_t lane = 0;
    for (int d = 0; d < 16; ++d)
      if (r >> d & 1) lane |= uint64_t{1} << (63 - d);
    return lane;
  }
};

const Crc16Tables kTables;

uint16_t Crc16Tabled(uint16_t crc, const uint8_t* data, size_t size) {
  const auto& t = kTables.entry;
  while (size >= 8) {
    unsigned x = crc ^ (data[0] | (data[1] << 8));
    crc = static_cast<uint16_t>(t[7][x & 0xFF] ^ t[6][x >> 8] ^ t[5][data[2]] ^ t[4][data[3]] ^ t[3][data[4]] ^
                                t[2][data[5]] ^ t[1][data[6]] ^ t[0][data[7]]);
    data += 8;
    size -= 8;
  }
  for (size_t i = 0; i < size; ++i) crc = static_cast<uint16_t>(t[0][(crc ^ data[i]) & 0xFF] ^ (crc >> 8));
  return crc;
}

#ifdef LZH_CRC16_CLMUL
#define LZH_CLMUL_TARGET __attribute__((target("pclmul,sse2")))
LZH_CLMUL_TARGET inline __m128i Multiplier(int i) {
  return _mm_set_epi64x(static_cast<long long>(kTables.fold[i][1]), static_cast<long long>(kTables.fold[i][0]));
}
LZH_CLMUL_TARGET inline __m128i Fold(__m128i block, __m128i k) {
  return _mm_xor_si128(_mm_clmulepi64_si128(block, k, 0x00), _mm_clmulepi64_si128(block, k, 0x11));
}
LZH_CLMUL_TARGET inline __m128i Load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }

// Folding with carry-less multiplication: the data, read as one polynomial,
// is reduced 128 bits at a time (four blocks in parallel) to a single block
// with the same remainder, whose CRC the tables then finish. size >= 64.
LZH_CLMUL_TARGET uint16_t Crc16Folded(uint16_t crc, const uint8_t* data, size_t size) {
  __m128i x0 = _mm_xor_si128(Load(data), _mm_cvtsi32_si128(crc));
  __m128i x1 = Load(data + 16), x2 = Load(data + 32), x3 = Load(data + 48);
  data += 64;
  size -= 64;
  const __m128i by512 = Multiplier(3);
  while (size >= 64) {
    x0 = _mm_xor_si128(Fold(x0, by512), Load(data));
    x1 = _mm_xor_si128(Fold(x1, by512), Load(data + 16));
    x2 = _mm_xor_si128(Fold(x2, by512), Load(data + 32));
    x3 = _mm_xor_si128(Fold(x3, by512), Load(data + 48));
    data += 64;
    size -= 64;
  }
  __m128i x = _mm_xor_si128(_mm_xor_si128(Fold(x0, Multiplier(2)), Fold(x1, Multiplier(1))),
                            _mm_xor_si128(Fold(x2, Multiplier(0)), x3));
  const __m128i by128 = Multiplier(0);
  while (size >= 16) {
    x = _mm_xor_si128(Fold(x, by128), Load(data));
    data += 16;
    size -= 16;
  }
  alignas(16) uint8_t last[16];
  _mm_store_si128(reinterpret_cast<__m128i*>(last), x);
  return Crc16Tabled(Crc16Tabled(0, last, 16), data, size);
}
#endif

}  // namespace

uint16_t Crc16Update(uint16_t crc, const uint8_t* data, size_t size) {
#ifdef LZH_CRC16_CLMUL
  if (size >= 64 && kTables.clmul) return Crc16Folded(crc, data, size);
#endif
  return Crc16Tabled(crc, data, size);
}

}  // namespace lzh
