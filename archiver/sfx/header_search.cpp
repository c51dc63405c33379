// The self-extracting programs' way to their archive when it does not begin
// right where their image ends (padding or a signature in between), in place
// of the library's scan: every position shaped like the start of a header
// ("-" at bytes 2 and 6, a level of 0 to 3) is parsed in full, and the first
// that parses, names a method we read and has its data inside the file wins,
// as with the library's scan. A file crafted with many near-headers costs
// more time here than there, for a fraction of the code; these programs only
// ever read their own file.
#include <vector>

#include "archiver/lzh/decoder.h"
#include "archiver/lzh/header_reader.h"
#include "archiver/lzh/reader.h"

namespace lzh {

bool FindFirstHeader(ByteSource* source, uint64_t from, uint64_t* offset) {
  const size_t kBlock = 1 << 16, kShortest = 22;  // a level 0 header with an empty name
  std::vector<uint8_t> block(kBlock + kShortest);
  uint64_t size = source->Size();
  for (uint64_t base = from; base < size; base += kBlock) {
    size_t want = size - base < block.size() ? static_cast<size_t>(size - base) : block.size();
    if (source->ReadAt(base, block.data(), want) != want) return false;
    for (size_t i = 0; i < kBlock && i + kShortest <= want; ++i) {
      const uint8_t* p = &block[i];
      if (p[2] != '-' || p[6] != '-' || p[20] > 3) continue;
      Header header;
      if (ReadHeader(source, base + i, &header) != Error::kOk) {
        if (source->Failed()) return false;
        continue;
      }
      if (header.data_offset > size || header.compressed_size > size - header.data_offset) continue;
      if (IsSupportedMethod(header.method) || (header.method[1] == 'p' && header.method[2] == 'm')) {
        *offset = base + i;
        return true;
      }
    }
  }
  return false;
}

}  // namespace lzh
