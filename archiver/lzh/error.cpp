#include "archiver/lzh/error.h"

namespace lzh {

const char* ErrorText(Error error) {
  switch (error) {
    case Error::kOk: return "ok";
    case Error::kEndOfArchive: return "end of archive";
    case Error::kNotArchive: return "not an LZH archive";
    case Error::kTruncated: return "archive is truncated";
    case Error::kBadHeader: return "bad header";
    case Error::kUnknownMethod: return "unknown compression method";
    case Error::kDamagedData: return "damaged data";
    case Error::kCrcError: return "CRC error";
    case Error::kReadError: return "read error";
    case Error::kWriteError: return "write error";
    case Error::kCancelled: return "cancelled";
  }
  return "unknown error";
}

}  // namespace lzh
