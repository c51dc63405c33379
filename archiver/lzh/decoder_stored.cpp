// Stored data: -lh0-, -lz4-, -pm0- (and the empty body of -lhd-).
#include "archiver/lzh/decoder_internal.h"

namespace lzh {
namespace {

class StoredDecoder : public Decoder {
 public:
  StoredDecoder(ByteSource* source, uint64_t offset, uint64_t size) : source_(source), at_(offset), left_(size) {}

  Error Decode(uint8_t* out, size_t size) override {
    if (size > left_) return Error::kTruncated;  // stored data is as long as the original
    size_t got = source_->ReadAt(at_, out, size);
    if (got < size) return source_->Failed() ? Error::kReadError : Error::kTruncated;
    at_ += got;
    left_ -= got;
    return Error::kOk;
  }

 private:
  ByteSource* source_;
  uint64_t at_;
  uint64_t left_;
};

}  // namespace

std::unique_ptr<Decoder> NewStoredDecoder(ByteSource* source, uint64_t offset, uint64_t size) {
  return std::unique_ptr<Decoder>(new StoredDecoder(source, offset, size));
}

}  // namespace lzh
