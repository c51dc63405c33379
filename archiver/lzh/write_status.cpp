#include "archiver/lzh/write_status.h"

namespace lzh {

const char* WriteStatusText(WriteStatus status) {
  switch (status) {
    case WriteStatus::kOk: return "ok";
    case WriteStatus::kReadFailed: return "cannot read the input";
    case WriteStatus::kWriteFailed: return "cannot write the output";
    case WriteStatus::kCancelled: return "cancelled";
    case WriteStatus::kLimitReached: return "output limit reached";
    case WriteStatus::kBadHeader: return "name or size does not fit the header";
  }
  return "unknown";
}

}  // namespace lzh
