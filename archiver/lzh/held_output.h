// Compressed bytes that wait for their turn in the archive: kept in memory up
// to a limit, and past it moved to a scratch file, so a file compressed
// ahead of its turn costs a bounded amount of memory however large it is.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "archiver/lzh/io.h"

namespace lzh {

// A file that takes bytes front to back and gives them back afterwards; it
// disappears when destroyed.
class ScratchFile : public ByteSink {
 public:
  // Reads back `size` bytes written at `offset`; false on failure.
  virtual bool ReadBack(uint64_t offset, uint8_t* buffer, size_t size) = 0;
};

// Makes a new scratch file (null when none can be had). Called from worker
// threads, so it must be safe to call from several at once.
using ScratchFactory = std::function<std::unique_ptr<ScratchFile>()>;

// A scratch file from the C library's tmpfile().
std::unique_ptr<ScratchFile> CreateTmpfileScratch();

class HeldOutput : public ByteSink {
 public:
  // `scratch` null: tmpfile().
  HeldOutput(size_t memory_limit, ScratchFactory scratch);
  bool Write(const uint8_t* data, size_t size) override;
  uint64_t Size() const { return size_; }
  // Writes every held byte to `sink`; false when the sink or the scratch
  // file fails.
  bool CopyTo(ByteSink& sink);
  // Empty again; the memory stays for the next file.
  void Clear();

 private:
  size_t memory_limit_;
  ScratchFactory scratch_factory_;
  std::string memory_;
  std::unique_ptr<ScratchFile> scratch_;
  uint64_t size_ = 0;
};

}  // namespace lzh
