// Macintosh archivers (OS id 'm') may store a file wrapped in MacBinary: a
// 128-byte header with the Finder's information, then the data fork and the
// resource fork, each padded to 128 bytes. What a user elsewhere can open is
// the data fork, so extraction unwraps it when the header proves to be one
// the archiver added: every reserved byte as MacBinary requires, the CRC of
// MacBinary II when it claims to be II, the name of the entry itself, fork
// lengths that add up to the stored size and a modification time that
// matches the entry's. Anything else comes out as stored.
#pragma once
#include <cstddef>
#include <cstdint>

#include "archiver/lzh/header.h"
#include "archiver/lzh/io.h"

namespace lzh {

constexpr size_t kMacBinaryHeaderSize = 128;

// Where the fork to extract lies within the entry's decoded data.
struct ForkRange {
  uint64_t offset = 0, length = 0;
};

// True when `head` (the entry's first 128 decoded bytes) is a MacBinary
// header the archiver added; *fork is then the data fork (the resource fork
// for a file that has no data fork).
bool FindMacBinaryFork(const Header& header, const uint8_t* head, ForkRange* fork);

// Passes an entry's decoded data on to `out`, keeping only the fork when the
// data starts with such a header (decided once 128 bytes have arrived).
class MacBinaryFilter : public ByteSink {
 public:
  MacBinaryFilter(const Header& header, ByteSink* out) : header_(header), out_(out) {}
  // Whether an entry may be wrapped at all (Macintosh origin, long enough).
  static bool Applies(const Header& header);
  bool Write(const uint8_t* data, size_t size) override;

 private:
  const Header& header_;
  ByteSink* out_;
  uint8_t head_[kMacBinaryHeaderSize];
  size_t held_ = 0;      // bytes of head_ filled while undecided
  bool decided_ = false;
  bool unwrap_ = false;
  ForkRange fork_;
  uint64_t at_ = 0;      // offset in the entry's data of the next byte
};

}  // namespace lzh
