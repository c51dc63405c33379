// Where the archive of a self-extracting file starts.
//
// The file is this program's PE image followed directly by the archive bytes.
// The image ends after the furthest section's raw data (the section table says
// where); that is where the archive is looked for first, and the reader's scan
// for the first valid header takes over from there if something lies between.
#pragma once
#include <cstdint>

#include "archiver/lzh/io.h"

namespace sfx {

// Returns the offset just past the PE image in `file`, or 0 when `file` does
// not start with a readable PE image.
uint64_t PeImageEnd(lzh::ByteSource* file);

// A window onto `inner` from `base` to its end: offset 0 here is `base` there.
class TailSource : public lzh::ByteSource {
 public:
  TailSource(lzh::ByteSource* inner, uint64_t base) : inner_(inner), base_(base) {}
  uint64_t Size() const override { return inner_->Size() > base_ ? inner_->Size() - base_ : 0; }
  size_t ReadAt(uint64_t offset, uint8_t* buffer, size_t size) override {
    return inner_->ReadAt(base_ + offset, buffer, size);
  }
  bool Failed() const override { return inner_->Failed(); }

 private:
  lzh::ByteSource* inner_;
  uint64_t base_;
};

}  // namespace sfx
