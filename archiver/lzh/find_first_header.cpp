// The reader's way to an archive behind something else: the full scan (the
// self-extracting programs link a smaller one of their own instead).
#include "archiver/lzh/header_scan.h"
#include "archiver/lzh/reader.h"

namespace lzh {

bool FindFirstHeader(ByteSource* source, uint64_t from, uint64_t* offset) {
  return ScanForHeader(source, from, offset);
}

}  // namespace lzh
