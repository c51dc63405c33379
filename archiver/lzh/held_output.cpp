#include "archiver/lzh/held_output.h"

#include <cstdio>
#include <vector>

namespace lzh {
namespace {

class TmpfileScratch : public ScratchFile {
 public:
  explicit TmpfileScratch(FILE* file) : file_(file) {}
  ~TmpfileScratch() override { fclose(file_); }
  bool Write(const uint8_t* data, size_t size) override {
    // Reads move the stream; writes always go to the end.
    if (!SeekStdioFile(file_, end_) || fwrite(data, 1, size, file_) != size) return false;
    end_ += size;
    return true;
  }
  bool ReadBack(uint64_t offset, uint8_t* buffer, size_t size) override {
    return offset + size <= end_ && SeekStdioFile(file_, offset) && fread(buffer, 1, size, file_) == size;
  }

 private:
  FILE* file_;
  uint64_t end_ = 0;
};

constexpr size_t kCopyChunk = size_t{1} << 16;

}  // namespace

std::unique_ptr<ScratchFile> CreateTmpfileScratch() {
  FILE* file = tmpfile();
  return file ? std::unique_ptr<ScratchFile>(new TmpfileScratch(file)) : nullptr;
}

HeldOutput::HeldOutput(size_t memory_limit, ScratchFactory scratch)
    : memory_limit_(memory_limit), scratch_factory_(std::move(scratch)) {}

bool HeldOutput::Write(const uint8_t* data, size_t size) {
  if (!scratch_ && memory_.size() + size > memory_limit_) {
    // Too large to keep: everything so far moves to a scratch file.
    scratch_ = scratch_factory_ ? scratch_factory_() : CreateTmpfileScratch();
    if (!scratch_) return false;
    if (!memory_.empty() && !scratch_->Write(reinterpret_cast<const uint8_t*>(memory_.data()), memory_.size()))
      return false;
    memory_.clear();
  }
  if (scratch_) {
    if (!scratch_->Write(data, size)) return false;
  } else {
    memory_.append(reinterpret_cast<const char*>(data), size);
  }
  size_ += size;
  return true;
}

bool HeldOutput::CopyTo(ByteSink& sink) {
  if (!scratch_) {
    return memory_.empty() || sink.Write(reinterpret_cast<const uint8_t*>(memory_.data()), memory_.size());
  }
  std::vector<uint8_t> chunk(kCopyChunk);
  for (uint64_t done = 0; done < size_;) {
    size_t want = size_ - done < kCopyChunk ? static_cast<size_t>(size_ - done) : kCopyChunk;
    if (!scratch_->ReadBack(done, chunk.data(), want) || !sink.Write(chunk.data(), want)) return false;
    done += want;
  }
  return true;
}

void HeldOutput::Clear() {
  memory_.clear();
  scratch_.reset();
  size_ = 0;
}

}  // namespace lzh
