// Writes a new archive entry by entry: new files (compressed, or stored when
// that does not pay), directory entries, and entries carried over from an
// existing archive either byte for byte or under a new header. Finish() adds
// the end marker.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "archiver/lzh/archive_sink.h"
#include "archiver/lzh/encoder.h"
#include "archiver/lzh/header.h"
#include "archiver/lzh/held_output.h"
#include "archiver/lzh/write_status.h"

namespace lzh {

struct WriterOptions {
  uint8_t header_level = 2;          // 0, 1 or 2
  const char* method = "-lh5-";      // -lh5-, -lh6-, -lh7-; -lh0- stores everything
  ParseMode parse = ParseMode::kLazy;
  // Threads a file larger than a piece is compressed on (the bytes are the
  // same for any number).
  unsigned threads = 1;
  // Total bytes of new file content read so far (over all AddFile calls);
  // returning false cancels.
  ProgressCallback progress;
};

// Compresses `content` into `out` as AddFile would for `method`;
// kLimitReached when the file is to be stored instead (empty, too large for
// the encoder, or not smaller compressed). Safe to run on any thread with
// an encoder of its own. A file larger than a piece goes in pieces, on
// `threads` threads of its own when more than one.
EncodeResult CompressEntry(Encoder& encoder, const char* method, ByteSource& content, ByteSink& out,
                           const ProgressCallback& progress, unsigned threads = 1);

class ArchiveWriter {
 public:
  ArchiveWriter(ArchiveSink& sink, const WriterOptions& options);

  // Compresses `content` as a new entry. `info` supplies the path, times,
  // attributes, OS id and Unix mode; method, sizes, CRC and level come from
  // here. The finished header is stored in `*written` when given.
  WriteStatus AddFile(const Header& info, ByteSource& content, Header* written = nullptr);

  // The same entry from CompressEntry's outcome `compressed` (its bytes in
  // `data`) for `size` input bytes, worked out ahead of its turn; a file to
  // be stored (kLimitReached) is read from `content` now, which is not
  // needed otherwise.
  WriteStatus AddCompressedFile(const Header& info, uint64_t size, ByteSource* content,
                                const EncodeResult& compressed, HeldOutput& data, Header* written = nullptr);

  // A -lhd- entry for the directory `info.path` (a trailing '/' is optional).
  WriteStatus AddDirectory(const Header& info, Header* written = nullptr);

  // Copies the header and data bytes of `entry` (as listed from `archive`)
  // unchanged.
  WriteStatus CopyEntry(ByteSource& archive, const Header& entry);

  // Copies the data of `entry` under a header serialised from `header`
  // (same method, sizes and CRC; new path or level).
  WriteStatus CopyEntryWithHeader(ByteSource& archive, const Header& entry, const Header& header);

  // Writes the end marker and cuts the output there.
  WriteStatus Finish();

  uint64_t BytesDone() const { return bytes_done_; }

 private:
  WriteStatus EntryHeader(const Header& info, uint64_t size, Header* h) const;
  WriteStatus FinishEntry(Header& h, uint64_t header_at, uint64_t data_at, Header* written);
  WriteStatus WriteHeaderAt(uint64_t position, const Header& header, size_t reserved);
  WriteStatus CopyRange(ByteSource& source, uint64_t offset, uint64_t size);
  WriteStatus StoreFrom(ByteSource& content, uint64_t size, uint16_t* crc);
  bool Report(uint64_t done_in_file);
  std::vector<uint8_t>& CopyBuffer();

  ArchiveSink& sink_;
  WriterOptions options_;
  Encoder encoder_;
  uint64_t bytes_done_ = 0;
  uint64_t reported_ = 0;
  std::vector<uint8_t> copy_buffer_;  // for stored files and copied entries
};

}  // namespace lzh
