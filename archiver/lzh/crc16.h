// CRC-16 as LZH archives use it: polynomial 0x8005, reflected (0xA001), start 0.
#pragma once
#include <cstddef>
#include <cstdint>

namespace lzh {

uint16_t Crc16Update(uint16_t crc, const uint8_t* data, size_t size);

inline uint16_t Crc16(const uint8_t* data, size_t size) { return Crc16Update(0, data, size); }

}  // namespace lzh
