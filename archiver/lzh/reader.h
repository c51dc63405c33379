// Reading an LZH archive: finding it, walking its entries, extracting them.
//
//   std::unique_ptr<lzh::StdioSource> file(lzh::StdioSource::Open("a.lzh"));  // or any ByteSource
//   lzh::ArchiveReader reader(file.get());
//   if (reader.Open() != lzh::Error::kOk) ...;   // also finds archives behind SFX stubs
//   lzh::Header h;
//   lzh::Error e;
//   while ((e = reader.Next(&h)) == lzh::Error::kOk) {
//     std::vector<std::string> parts;            // see safe_path.h
//     if (lzh::SafeRelativePath(h.path, &parts) != lzh::PathVerdict::kOk) ...;  // report, skip
//     if (!h.IsDirectory()) e2 = reader.Extract(h, &sink, progress);  // CRC-checked
//   }
//   // e == kEndOfArchive: clean end; anything else: a damaged or cut archive
//   // (the entries before it were good).
//
// Header fields (header.h): path ('/'-separated raw CP932 bytes, directories
// end in '/'), method, sizes, level, os_id, dos_attributes; times: dos_time
// always (level 2/3: converted from the Unix time, UTC), unix_time always
// (level 0/1 without a Unix extension: dos_time read as UTC, so prefer
// dos_time and has_unix_time to decide), Windows FILETIMEs when stored.
// Extract() returns kUnknownMethod for methods decoder.h does not list and
// the walk can go on; kCrcError, kDamagedData and kTruncated are per entry.
//
// The reader never allocates in proportion to declared sizes, every header
// advances the position, and a cut or damaged archive ends with an error.
// One reader per thread; it reads its ByteSource only inside its calls.
#pragma once
#include <cstdint>
#include <functional>

#include "archiver/lzh/error.h"
#include "archiver/lzh/header.h"
#include "archiver/lzh/io.h"

namespace lzh {

// Called now and then during extraction with the bytes written so far and the
// entry's original size; returning false cancels (kCancelled).
using ProgressFn = std::function<bool(uint64_t done, uint64_t total)>;

class ArchiveReader {
 public:
  explicit ArchiveReader(ByteSource* source) : source_(source) {}

  // Finds the first header: at offset 0, or the first valid one further in
  // (archives after a self-extracting program). kNotArchive when none.
  Error Open();
  // Offset of the first header (0 for a plain archive).
  uint64_t archive_offset() const { return archive_offset_; }

  // Reads the next entry header. kEndOfArchive at the end; an error when the
  // header is damaged or the entry's data runs past the end of the source.
  Error Next(Header* header);
  // Offset just after the last entry read (where an end marker or the next
  // header lies).
  uint64_t position() const { return position_; }
  // True when the last Next() returned kTruncated for a whole header whose
  // data runs past the end of the source: *header then holds that header.
  bool data_cut() const { return data_cut_; }

  // Decodes `header`'s data into `sink` (nullptr to test only) and checks the
  // CRC. Entries can be extracted in any order; headers come from Next().
  // kTruncated, before anything is written, for data that runs past the end.
  Error Extract(const Header& header, ByteSink* sink, const ProgressFn& progress = ProgressFn());

 private:
  ByteSource* source_;
  uint64_t archive_offset_ = 0;
  uint64_t position_ = 0;
  bool opened_ = false;
  bool data_cut_ = false;
  Error open_error_ = Error::kOk;
};

// Finds the offset of the first valid header at or after `from`; false when
// there is none.
bool FindFirstHeader(ByteSource* source, uint64_t from, uint64_t* offset);

}  // namespace lzh
