// Looking for the first header of an archive inside another file (an archive
// behind a self-extracting program, or a file that holds none).
//
// The scan costs time linear in the bytes it passes over, whatever they are:
// it reads the file once in large blocks, rejects a candidate on checks that
// cost it nothing in proportion to the sizes it declares (fields, checksum,
// the chain of extended headers, header CRC, data fitting the file), and only
// then parses it in full. A header found this way is at most kScanMaxHeader
// bytes long including its extended headers; real ones are a few hundred.
#pragma once
#include <cstdint>

#include "archiver/lzh/io.h"

namespace lzh {

constexpr uint64_t kScanMaxHeader = 1 << 16;

// Work one scan did, for tests and benchmarks.
struct ScanStats {
  uint64_t bytes_read = 0;      // bytes asked of the source
  uint64_t reads = 0;           // calls to the source
  uint64_t candidates = 0;      // positions shaped like the start of a header
  uint64_t chain_steps = 0;     // extended headers stepped over (each at most once per block)
  uint64_t headers_parsed = 0;  // candidates that passed every check and were parsed in full
};

// Finds the offset of the first valid header at or after `from`; false when
// there is none (or the source failed: see source->Failed()).
bool ScanForHeader(ByteSource* source, uint64_t from, uint64_t* offset, ScanStats* stats = nullptr);

}  // namespace lzh
