// Outcome of every writing-side operation. Anything but kOk means the output
// is incomplete and the caller should discard it.
#pragma once

namespace lzh {

enum class WriteStatus {
  kOk,
  kReadFailed,    // the file being compressed or the old archive could not be read
  kWriteFailed,   // the sink refused bytes (disk full, ...)
  kCancelled,     // the progress callback asked to stop
  kLimitReached,  // compressed output passed the caller's limit (internal use)
  kBadHeader,     // a name or size does not fit the chosen header level
};

const char* WriteStatusText(WriteStatus status);

}  // namespace lzh
