// Decoders of the compression methods, all behind one narrow interface.
//
//   lzh::Error err;
//   std::unique_ptr<lzh::Decoder> d = lzh::CreateDecoder(
//       header.method, source, header.data_offset, header.compressed_size, &err);
//   while (left) { size_t n = min(left, sizeof buf); if (d->Decode(buf, n) != kOk) ...; }
//
// Methods: -lh0- -lh1- -lh2- -lh3- -lh4- -lh5- -lh6- -lh7- -lhx- -lk7- -lhd- -lzs-
// -lz5- -lz4- -pm0- -pm1- -pm2-.
//
// The decoder reads at most `compressed_size` bytes of `source` starting at
// `offset`, keeps its own window, and never allocates after creation. Output
// CRC checking is the caller's job (ArchiveReader::Extract does it).
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

#include "archiver/lzh/error.h"
#include "archiver/lzh/io.h"

namespace lzh {

class Decoder {
 public:
  virtual ~Decoder() = default;
  // Writes exactly `size` further bytes of decoded output to `out`. Returns
  // kOk, kDamagedData (invalid stream), kTruncated (compressed data ran out
  // well before the output was complete) or kReadError.
  virtual Error Decode(uint8_t* out, size_t size) = 0;
  // Decode without the copy where the decoder keeps a window: the next
  // *produced bytes (1..size) are left at *data, inside the decoder, valid
  // until its next call. Others decode `size` bytes into `scratch`.
  virtual Error DecodeView(uint8_t* scratch, size_t size, const uint8_t** data, size_t* produced) {
    *data = scratch;
    *produced = size;
    return Decode(scratch, size);
  }
};

// True when `method` (five characters such as "-lh5-") can be decoded.
bool IsSupportedMethod(const char* method);

// Creates the decoder for `method`; nullptr with *error = kUnknownMethod for
// methods that are not supported. Directories (-lhd-) decode as stored.
std::unique_ptr<Decoder> CreateDecoder(const char* method, ByteSource* source, uint64_t offset,
                                       uint64_t compressed_size, Error* error);

}  // namespace lzh
