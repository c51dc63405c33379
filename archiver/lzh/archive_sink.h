// Output for a new archive. Unlike a plain ByteSink it can move back: the
// writer puts a header in front of data whose size it learns afterwards, and
// rewinds to store a file whose compressed form would not be smaller.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

#include "archiver/lzh/io.h"

namespace lzh {

class ArchiveSink : public ByteSink {
 public:
  virtual uint64_t Position() const = 0;
  // Later writes go to `position` (at most the current end).
  virtual bool Seek(uint64_t position) = 0;
  // Cuts the output at the current position.
  virtual bool Truncate() = 0;
};

class MemoryArchiveSink : public ArchiveSink {
 public:
  bool Write(const uint8_t* data, size_t size) override;
  uint64_t Position() const override { return position_; }
  bool Seek(uint64_t position) override;
  bool Truncate() override;
  std::string bytes;

 private:
  uint64_t position_ = 0;
};

// A new file on disk, owned by the sink.
class FileArchiveSink : public ArchiveSink {
 public:
  // Creates (truncates) the file; nullptr when it cannot be opened.
  static FileArchiveSink* Create(const char* path);
  ~FileArchiveSink() override;
  bool Write(const uint8_t* data, size_t size) override;
  uint64_t Position() const override { return position_; }
  bool Seek(uint64_t position) override;
  bool Truncate() override;
  // Flushes and closes; false when anything failed on the way.
  bool Close();

 private:
  explicit FileArchiveSink(FILE* file) : file_(file) {}
  FILE* file_;
  uint64_t position_ = 0;
  bool failed_ = false;
};

}  // namespace lzh
