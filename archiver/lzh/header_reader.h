// Parsing one entry header of level 0, 1, 2 or 3 from a byte source.
#pragma once
#include <cstdint>
#include <string>

#include "archiver/lzh/error.h"
#include "archiver/lzh/header.h"
#include "archiver/lzh/io.h"

namespace lzh {

// Reads the header at `offset`. Returns kOk with *header filled (including
// header_offset, header_size, data_offset and compressed_size of the data
// alone), kEndOfArchive at an end marker or the end of the source,
// kTruncated when the source ends inside the header, kBadHeader when a
// checksum, CRC or field is wrong. Every length is checked before use.
Error ReadHeader(ByteSource* source, uint64_t offset, Header* header);

// Converts a stored name to Header::path form: '\\', 0xFF and '/' become '/'
// (a CP932 trail byte 0x5C stays part of its character).
std::string NormalizeStoredPath(const std::string& raw);

// Packed MS-DOS date/time (local) <-> seconds since 1970, taking the DOS
// fields as UTC (callers apply their own time-zone rule).
int64_t DosTimeToUnix(uint32_t dos_time);
uint32_t UnixToDosTime(int64_t unix_time);

}  // namespace lzh
