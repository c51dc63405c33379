#include "archiver/lzh/crc16.h"

namespace lzh {
namespace {

struct Crc16Table {
  uint16_t entry[256];
  Crc16Table() {
    for (unsigned i = 0; i < 256; ++i) {
      unsigned r = i;
      for (int bit = 0; bit < 8; ++bit) r = (r & 1) ? (r >> 1) ^ 0xA001u : r >> 1;
      entry[i] = static_cast<uint16_t>(r);
    }
  }
};

const Crc16Table kTable;

}  // namespace

uint16_t Crc16Update(uint16_t crc, const uint8_t* data, size_t size) {
  for (size_t i = 0; i < size; ++i) crc = static_cast<uint16_t>(kTable.entry[(crc ^ data[i]) & 0xFF] ^ (crc >> 8));
  return crc;
}

}  // namespace lzh
