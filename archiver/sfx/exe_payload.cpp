#include "archiver/sfx/exe_payload.h"

namespace sfx {
namespace {

uint32_t Le16(const uint8_t* p) { return p[0] | (p[1] << 8); }
uint32_t Le32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool ReadExactly(lzh::ByteSource* file, uint64_t offset, uint8_t* buffer, size_t size) {
  return file->ReadAt(offset, buffer, size) == size;
}

const size_t kDosHeaderSize = 64;
const size_t kFileHeaderSize = 20;  // after the "PE\0\0" signature
const size_t kSectionHeaderSize = 40;
const unsigned kMaxSections = 96;   // the loader's own limit

}  // namespace

uint64_t PeImageEnd(lzh::ByteSource* file) {
  uint8_t dos[kDosHeaderSize];
  if (!ReadExactly(file, 0, dos, sizeof dos) || dos[0] != 'M' || dos[1] != 'Z') return 0;
  uint64_t pe = Le32(dos + 60);

  uint8_t header[4 + kFileHeaderSize];
  if (!ReadExactly(file, pe, header, sizeof header)) return 0;
  if (header[0] != 'P' || header[1] != 'E' || header[2] != 0 || header[3] != 0) return 0;
  unsigned sections = Le16(header + 4 + 2);
  unsigned optional_size = Le16(header + 4 + 16);
  if (sections == 0 || sections > kMaxSections) return 0;

  uint64_t table = pe + sizeof header + optional_size;
  uint64_t end = table + static_cast<uint64_t>(sections) * kSectionHeaderSize;
  for (unsigned i = 0; i < sections; ++i) {
    uint8_t section[kSectionHeaderSize];
    if (!ReadExactly(file, table + i * kSectionHeaderSize, section, sizeof section)) return 0;
    uint32_t raw_size = Le32(section + 16);
    uint32_t raw_offset = Le32(section + 20);
    if (raw_size == 0) continue;  // uninitialised data (.bss) has no bytes in the file
    uint64_t section_end = static_cast<uint64_t>(raw_offset) + raw_size;
    if (section_end > end) end = section_end;
  }
  return end <= file->Size() ? end : 0;
}

}  // namespace sfx
