#include "archiver/lzh/reader.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "archiver/lzh/crc16.h"
#include "archiver/lzh/decoder.h"
#include "archiver/lzh/header_reader.h"
#include "archiver/lzh/macbinary.h"

namespace lzh {

Error ArchiveReader::Open() {
  opened_ = true;
  open_error_ = Error::kOk;
  archive_offset_ = position_ = 0;
  uint64_t size = source_->Size();
  if (size == 0) return open_error_ = Error::kNotArchive;
  uint8_t byte;
  if (size == 1 && source_->ReadAt(0, &byte, 1) == 1 && byte == 0) return Error::kOk;  // empty archive
  Header h;
  Error first = ReadHeader(source_, 0, &h);
  if (first == Error::kOk) return Error::kOk;
  if (source_->Failed()) return open_error_ = Error::kReadError;
  // What starts like a header is a damaged archive, not a program with an
  // archive behind it: report it rather than skip to a later entry.
  uint8_t head[21];
  if (source_->ReadAt(0, head, sizeof head) == sizeof head && head[2] == '-' && head[6] == '-' && head[20] <= 3)
    return open_error_ = first;
  uint64_t at;
  if (!FindFirstHeader(source_, 1, &at)) return open_error_ = source_->Failed() ? Error::kReadError : Error::kNotArchive;
  archive_offset_ = position_ = at;
  return Error::kOk;
}

Error ArchiveReader::Next(Header* header) {
  if (!opened_) Open();
  if (open_error_ != Error::kOk) return open_error_;
  data_cut_ = false;
  Error e = ReadHeader(source_, position_, header);
  if (e != Error::kOk) return e;
  uint64_t size = source_->Size();
  if (header->data_offset > size || header->compressed_size > size - header->data_offset) {
    data_cut_ = true;
    return Error::kTruncated;
  }
  position_ = header->data_offset + header->compressed_size;
  return Error::kOk;
}

Error ArchiveReader::Extract(const Header& header, ByteSink* sink, const ProgressFn& progress) {
  if (header.IsDirectory() || header.IsLink()) return Error::kOk;
  // Data said to run past the end of the source (a cut archive, or a lying
  // size) is not decoded, even where what is there would pass the CRC.
  uint64_t size = source_->Size();
  if (header.data_offset > size || header.compressed_size > size - header.data_offset) return Error::kTruncated;
  Error e;
  std::unique_ptr<Decoder> decoder =
      CreateDecoder(header.method, source_, header.data_offset, header.compressed_size, &e);
  if (!decoder) return e;
  // A Macintosh file wrapped in MacBinary comes out as its data fork; the
  // CRC still covers everything stored.
  MacBinaryFilter unwrap(header, sink);
  if (sink && MacBinaryFilter::Applies(header)) sink = &unwrap;
  // Decoders with a window hand out their output where it lies; the others
  // fill `scratch` (left uninitialised: every byte is written before use).
  constexpr size_t kChunk = 1 << 16;
  const size_t chunk = static_cast<size_t>(std::min<uint64_t>(kChunk, std::max<uint64_t>(header.original_size, 1)));
  std::unique_ptr<uint8_t[]> scratch(new uint8_t[chunk]);
  uint64_t done = 0;
  uint16_t crc = 0;
  while (done < header.original_size) {
    size_t want = static_cast<size_t>(std::min<uint64_t>(chunk, header.original_size - done));
    const uint8_t* data;
    size_t n;
    e = decoder->DecodeView(scratch.get(), want, &data, &n);
    if (e != Error::kOk) return e;
    crc = Crc16Update(crc, data, n);
    if (sink && !sink->Write(data, n)) return Error::kWriteError;
    done += n;
    if (progress && !progress(done, header.original_size)) return Error::kCancelled;
  }
  if (header.has_crc && crc != header.crc) return Error::kCrcError;
  return Error::kOk;
}

}  // namespace lzh
