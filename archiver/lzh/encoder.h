// Compressor for the -lh5-, -lh6- and -lh7- methods: LZ77 over an 8, 32 or
// 64 KiB window (hash chains and lazy matching, or binary trees and an
// optimal parse) followed by static Huffman blocks. One Encoder keeps its tables between calls, so compressing many
// small files allocates nothing after the first.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>

#include "archiver/lzh/io.h"
#include "archiver/lzh/write_status.h"

namespace lzh {

// Called with the number of input bytes consumed so far; returning false
// cancels the operation.
using ProgressCallback = std::function<bool(uint64_t bytes_done)>;

// Dictionary sizes of the methods we write.
enum : int { kLh5DictBits = 13, kLh6DictBits = 15, kLh7DictBits = 16 };

// Returns 13, 15 or 16 for "-lh5-", "-lh6-", "-lh7-"; 0 for anything else.
int DictBitsForMethod(const char* method);

// Largest input the encoder takes (positions are 32-bit); anything larger is
// refused with kBadHeader (the archive writer stores such files).
constexpr uint64_t kMaxEncodeSize = 0xFFFFFFFFull - (uint64_t{1} << 18);

// How the encoder chooses between literals and matches. kLazy takes the
// longest match unless the next position has a better one: fast, the
// default. kOptimal finds every match and takes the cheapest path through
// each block by the block's own code lengths: several times slower, smaller.
enum class ParseMode { kLazy, kOptimal };

struct EncodeResult {
  WriteStatus status = WriteStatus::kOk;
  uint64_t compressed_size = 0;  // bytes handed to the sink
  uint16_t crc = 0;              // CRC-16 of the input bytes read
  // EncodePiece: the stream's last bits, fewer than 8 (oldest first), not
  // in compressed_size.
  uint8_t tail_bits = 0;
  int tail_count = 0;
};

class EncoderState;

class Encoder {
 public:
  Encoder();
  ~Encoder();
  Encoder(const Encoder&) = delete;
  Encoder& operator=(const Encoder&) = delete;

  // Compresses `size` bytes of `source` starting at `offset` into `sink`.
  // When `limit` is given and the output would pass it, stops early with
  // kLimitReached (the caller then stores the file instead). With a limit it
  // also gives up once the first give_up_after() input bytes have not shrunk
  // at all: such input is already compressed, and compressing the rest would
  // only waste time.
  EncodeResult Encode(int dict_bits, ByteSource& source, uint64_t offset, uint64_t size,
                      ByteSink& sink, const ProgressCallback& progress = nullptr,
                      uint64_t limit = UINT64_MAX);

  // One piece of a longer input: the `history` bytes before `offset` are
  // entered as the window's past, so matches reach back into them, but not
  // encoded. The stream ends at a block boundary (the stream's last block
  // when `last`), unpadded: its last bits are left in tail_bits. The CRC
  // covers the piece only.
  EncodeResult EncodePiece(int dict_bits, ByteSource& source, uint64_t offset, uint64_t history, uint64_t size,
                           ByteSink& sink, bool last, const ProgressCallback& progress = nullptr);

  uint64_t give_up_after() const;
  void set_give_up_after(uint64_t bytes);

  ParseMode parse_mode() const;
  void set_parse_mode(ParseMode mode);

 private:
  std::unique_ptr<EncoderState> state_;
};

}  // namespace lzh
