// Outcomes of reading an archive or decoding an entry.
#pragma once

namespace lzh {

enum class Error {
  kOk = 0,
  kEndOfArchive,   // no more entries (not a failure)
  kNotArchive,     // no valid header anywhere in the input
  kTruncated,      // the input ends inside a header or an entry's data
  kBadHeader,      // header checksum/CRC mismatch or impossible fields
  kUnknownMethod,  // compression method this library cannot decode
  kDamagedData,    // the compressed stream is not valid for its method
  kCrcError,       // decoded data does not match the stored CRC
  kReadError,      // the byte source reported an I/O failure
  kWriteError,     // the byte sink refused the data
  kCancelled,      // the progress callback asked to stop
};

// Short English description ("CRC error", ...), for tools and logs.
const char* ErrorText(Error error);

}  // namespace lzh
