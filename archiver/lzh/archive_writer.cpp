#include "archiver/lzh/archive_writer.h"

#include <cstring>
#include <vector>

#include "archiver/lzh/crc16.h"
#include "archiver/lzh/header_writer.h"
#include "archiver/lzh/piece_compressor.h"

namespace lzh {
namespace {

constexpr size_t kCopyChunk = 1 << 16;

void SetMethod(Header* h, const char* method) {
  memcpy(h->method, method, 5);
  h->method[5] = 0;
}

bool StoresFile(int dict_bits, uint64_t size) { return dict_bits == 0 || size == 0 || size > kMaxEncodeSize; }

// Level 0 has no room for the exact name beside a CP932 spelling that lost
// something: such an entry goes in at level 1, the nearest level with
// extended headers, rather than under a spelling another entry may share.
uint8_t LevelFor(const Header& info, uint8_t wanted) {
  return wanted == 0 && (!info.unicode_name.empty() || !info.unicode_dir.empty()) ? 1 : wanted;
}

}  // namespace

EncodeResult CompressEntry(Encoder& encoder, const char* method, ByteSource& content, ByteSink& out,
                           const ProgressCallback& progress, unsigned threads) {
  int dict_bits = DictBitsForMethod(method);
  uint64_t size = content.Size();
  if (StoresFile(dict_bits, size)) {
    EncodeResult stored;
    stored.status = WriteStatus::kLimitReached;
    return stored;
  }
  // Worth keeping only when strictly smaller than the original.
  if (size > kPieceSize) return CompressInPieces(encoder, dict_bits, content, out, progress, size - 1, threads);
  return encoder.Encode(dict_bits, content, 0, size, out, progress, size - 1);
}

ArchiveWriter::ArchiveWriter(ArchiveSink& sink, const WriterOptions& options)
    : sink_(sink), options_(options) {
  encoder_.set_parse_mode(options.parse);
}

std::vector<uint8_t>& ArchiveWriter::CopyBuffer() {
  if (copy_buffer_.empty()) copy_buffer_.resize(kCopyChunk);
  return copy_buffer_;
}

// Progress never goes back, not even when a file is read a second time to
// be stored after compressing it did not pay.
bool ArchiveWriter::Report(uint64_t done_in_file) {
  if (!options_.progress || bytes_done_ + done_in_file <= reported_) return true;
  reported_ = bytes_done_ + done_in_file;
  return options_.progress(reported_);
}

// Header bytes go first as a placeholder of the final length (the length
// does not depend on sizes or CRC) and are rewritten once the data is out.
WriteStatus ArchiveWriter::WriteHeaderAt(uint64_t position, const Header& header, size_t reserved) {
  std::string bytes;
  WriteStatus status = SerializeHeader(header, &bytes);
  if (status != WriteStatus::kOk) return status;
  if (reserved && bytes.size() != reserved) return WriteStatus::kBadHeader;
  uint64_t end = sink_.Position();
  if (position != end && !sink_.Seek(position)) return WriteStatus::kWriteFailed;
  if (!sink_.Write(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()))
    return WriteStatus::kWriteFailed;
  if (position != end && !sink_.Seek(end)) return WriteStatus::kWriteFailed;
  return WriteStatus::kOk;
}

WriteStatus ArchiveWriter::StoreFrom(ByteSource& content, uint64_t size, uint16_t* crc) {
  std::vector<uint8_t>& chunk = CopyBuffer();
  uint16_t c = 0;
  for (uint64_t done = 0; done < size;) {
    size_t want = size - done < kCopyChunk ? static_cast<size_t>(size - done) : kCopyChunk;
    if (content.ReadAt(done, chunk.data(), want) != want || content.Failed())
      return WriteStatus::kReadFailed;
    c = Crc16Update(c, chunk.data(), want);
    if (!sink_.Write(chunk.data(), want)) return WriteStatus::kWriteFailed;
    done += want;
    if (!Report(done)) return WriteStatus::kCancelled;
  }
  *crc = c;
  return WriteStatus::kOk;
}

// Everything but sizes and CRC; the method is the one to try first.
WriteStatus ArchiveWriter::EntryHeader(const Header& info, uint64_t size, Header* h) const {
  *h = info;
  h->level = LevelFor(info, options_.header_level);
  h->original_size = size;
  h->has_crc = true;
  SetMethod(h, StoresFile(DictBitsForMethod(options_.method), size) ? "-lh0-" : options_.method);
  if (size > 0xFFFFFFFFu && h->level != 2) return WriteStatus::kBadHeader;
  return WriteStatus::kOk;
}

// Rewrites the header now that sizes and CRC are known.
WriteStatus ArchiveWriter::FinishEntry(Header& h, uint64_t header_at, uint64_t data_at, Header* written) {
  WriteStatus status = WriteHeaderAt(header_at, h, data_at - header_at);
  if (status != WriteStatus::kOk) return status;
  bytes_done_ += h.original_size;
  h.header_offset = header_at;
  h.header_size = data_at - header_at;
  h.data_offset = data_at;
  if (written) *written = h;
  return WriteStatus::kOk;
}

WriteStatus ArchiveWriter::AddFile(const Header& info, ByteSource& content, Header* written) {
  Header h;
  WriteStatus status = EntryHeader(info, content.Size(), &h);
  if (status != WriteStatus::kOk) return status;
  uint64_t header_at = sink_.Position();
  status = WriteHeaderAt(header_at, h, 0);
  if (status != WriteStatus::kOk) return status;
  uint64_t data_at = sink_.Position();

  ProgressCallback progress = [this](uint64_t done) { return Report(done); };
  EncodeResult r = CompressEntry(encoder_, options_.method, content, sink_, progress, options_.threads);
  if (r.status == WriteStatus::kLimitReached) {
    if (sink_.Position() != data_at && !sink_.Seek(data_at)) return WriteStatus::kWriteFailed;
    SetMethod(&h, "-lh0-");
    status = StoreFrom(content, h.original_size, &h.crc);
    if (status != WriteStatus::kOk) return status;
    h.compressed_size = h.original_size;
  } else if (r.status != WriteStatus::kOk) {
    return r.status;
  } else {
    h.compressed_size = r.compressed_size;
    h.crc = r.crc;
  }
  return FinishEntry(h, header_at, data_at, written);
}

WriteStatus ArchiveWriter::AddCompressedFile(const Header& info, uint64_t size, ByteSource* content,
                                             const EncodeResult& compressed, HeldOutput& data, Header* written) {
  if (compressed.status != WriteStatus::kOk && compressed.status != WriteStatus::kLimitReached)
    return compressed.status;
  if (compressed.status == WriteStatus::kLimitReached && !content) return WriteStatus::kReadFailed;
  Header h;
  WriteStatus status = EntryHeader(info, size, &h);
  if (status != WriteStatus::kOk) return status;
  uint64_t header_at = sink_.Position();
  status = WriteHeaderAt(header_at, h, 0);
  if (status != WriteStatus::kOk) return status;
  uint64_t data_at = sink_.Position();
  if (compressed.status == WriteStatus::kLimitReached) {
    SetMethod(&h, "-lh0-");
    status = StoreFrom(*content, h.original_size, &h.crc);
    if (status != WriteStatus::kOk) return status;
    h.compressed_size = h.original_size;
  } else {
    if (!data.CopyTo(sink_)) return WriteStatus::kWriteFailed;
    h.compressed_size = compressed.compressed_size;
    h.crc = compressed.crc;
  }
  return FinishEntry(h, header_at, data_at, written);
}

WriteStatus ArchiveWriter::AddDirectory(const Header& info, Header* written) {
  Header h = info;
  h.level = LevelFor(info, options_.header_level);
  SetMethod(&h, "-lhd-");
  h.compressed_size = h.original_size = 0;
  h.crc = 0;
  h.has_crc = false;
  h.dos_attributes |= kAttrDirectory;
  if (h.path.empty() || h.path.back() != '/') h.path += '/';
  uint64_t header_at = sink_.Position();
  WriteStatus status = WriteHeaderAt(header_at, h, 0);
  if (status != WriteStatus::kOk) return status;
  h.header_offset = header_at;
  h.header_size = sink_.Position() - header_at;
  h.data_offset = header_at + h.header_size;
  if (written) *written = h;
  return WriteStatus::kOk;
}

WriteStatus ArchiveWriter::CopyRange(ByteSource& source, uint64_t offset, uint64_t size) {
  std::vector<uint8_t>& chunk = CopyBuffer();
  for (uint64_t done = 0; done < size;) {
    size_t want = size - done < kCopyChunk ? static_cast<size_t>(size - done) : kCopyChunk;
    if (source.ReadAt(offset + done, chunk.data(), want) != want || source.Failed())
      return WriteStatus::kReadFailed;
    if (!sink_.Write(chunk.data(), want)) return WriteStatus::kWriteFailed;
    done += want;
    // Copied bytes are not counted, but a long copy still lets the caller
    // keep its window alive and answer Cancel.
    if (options_.progress && !options_.progress(reported_)) return WriteStatus::kCancelled;
  }
  return WriteStatus::kOk;
}

WriteStatus ArchiveWriter::CopyEntry(ByteSource& archive, const Header& entry) {
  return CopyRange(archive, entry.header_offset, entry.header_size + entry.compressed_size);
}

WriteStatus ArchiveWriter::CopyEntryWithHeader(ByteSource& archive, const Header& entry,
                                               const Header& header) {
  WriteStatus status = WriteHeaderAt(sink_.Position(), header, 0);
  if (status != WriteStatus::kOk) return status;
  return CopyRange(archive, entry.data_offset, entry.compressed_size);
}

WriteStatus ArchiveWriter::Finish() {
  const uint8_t end_marker = 0;
  if (!sink_.Write(&end_marker, 1) || !sink_.Truncate()) return WriteStatus::kWriteFailed;
  return WriteStatus::kOk;
}

}  // namespace lzh
