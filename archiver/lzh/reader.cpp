#include "archiver/lzh/reader.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "archiver/lzh/crc16.h"
#include "archiver/lzh/decoder.h"
#include "archiver/lzh/header_reader.h"

namespace lzh {
namespace {

// A header found by scanning must also describe data that fits the file.
bool IsPlausible(ByteSource* source, uint64_t offset) {
  Header h;
  if (ReadHeader(source, offset, &h) != Error::kOk) return false;
  if (h.data_offset > source->Size() || h.compressed_size > source->Size() - h.data_offset) return false;
  // Random bytes shaped like a method name rarely name a real one.
  return IsSupportedMethod(h.method) || (h.method[1] == 'p' && h.method[2] == 'm');
}

}  // namespace

bool FindFirstHeader(ByteSource* source, uint64_t from, uint64_t* offset) {
  // Scans for "-xxx-" at byte 2 of a header; chunks overlap by the few bytes
  // a candidate needs to be recognised.
  constexpr size_t kChunk = 1 << 16, kOverlap = 8;
  std::vector<uint8_t> buf(kChunk);
  uint64_t size = source->Size();
  for (uint64_t base = from; base < size; base += kChunk - kOverlap) {
    size_t got = source->ReadAt(base, buf.data(), kChunk);
    if (got < kOverlap) break;
    for (size_t i = 0; i + 7 <= got; ++i) {
      const uint8_t* p = buf.data() + i;
      if (p[2] != '-' || p[6] != '-') continue;
      if (!((p[3] == 'l' && (p[4] == 'h' || p[4] == 'z' || p[4] == 'k')) || (p[3] == 'p' && p[4] == 'm'))) continue;
      if (IsPlausible(source, base + i)) {
        *offset = base + i;
        return true;
      }
    }
    if (got < kChunk) break;
  }
  return false;
}

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
  Error e = ReadHeader(source_, position_, header);
  if (e != Error::kOk) return e;
  uint64_t size = source_->Size();
  if (header->data_offset > size || header->compressed_size > size - header->data_offset) return Error::kTruncated;
  position_ = header->data_offset + header->compressed_size;
  return Error::kOk;
}

Error ArchiveReader::Extract(const Header& header, ByteSink* sink, const ProgressFn& progress) {
  if (header.IsDirectory()) return Error::kOk;
  Error e;
  std::unique_ptr<Decoder> decoder =
      CreateDecoder(header.method, source_, header.data_offset, header.compressed_size, &e);
  if (!decoder) return e;
  constexpr size_t kChunk = 1 << 16;
  std::vector<uint8_t> buf(std::min<uint64_t>(kChunk, std::max<uint64_t>(header.original_size, 1)));
  uint64_t done = 0;
  uint16_t crc = 0;
  while (done < header.original_size) {
    size_t n = static_cast<size_t>(std::min<uint64_t>(buf.size(), header.original_size - done));
    e = decoder->Decode(buf.data(), n);
    if (e != Error::kOk) return e;
    crc = Crc16Update(crc, buf.data(), n);
    if (sink && !sink->Write(buf.data(), n)) return Error::kWriteError;
    done += n;
    if (progress && !progress(done, header.original_size)) return Error::kCancelled;
  }
  if (header.has_crc && crc != header.crc) return Error::kCrcError;
  return Error::kOk;
}

}  // namespace lzh
