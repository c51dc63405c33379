#include "archiver/lzh/crc16.h"

namespace lzh {
namespace {

// Slicing-by-8: entry[k][b] is the CRC contribution of byte b followed by k
// zero bytes, so eight bytes fold in with eight lookups and no dependency
// chain between them.
struct Crc16Tables {
  uint16_t entry[8][256];
  Crc16Tables() {
    for (unsigned i = 0; i < 256; ++i) {
      unsigned r = i;
      for (int bit = 0; bit < 8; ++bit) r = (r & 1) ? (r >> 1) ^ 0xA001u : r >> 1;
      entry[0][i] = static_cast<uint16_t>(r);
    }
    for (int k = 1; k < 8; ++k)
      for (unsigned i = 0; i < 256; ++i)
        entry[k][i] = static_cast<uint16_t>((entry[k - 1][i] >> 8) ^ entry[0][entry[k - 1][i] & 0xFF]);
  }
};

const Crc16Tables kTables;

}  // namespace

uint16_t Crc16Update(uint16_t crc, const uint8_t* data, size_t size) {
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

}  // namespace lzh
