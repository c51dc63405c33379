// Byte sources and sinks the reader, decoders, encoders and writer work on.
// The library itself never names a file system: callers hand it these.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace lzh {

// Random-access input (an archive, or a file to be compressed).
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t Size() const = 0;
  // Reads up to `size` bytes at `offset`; returns the count read (short only
  // at the end of the source or on a read error, see Failed()).
  virtual size_t ReadAt(uint64_t offset, uint8_t* buffer, size_t size) = 0;
  virtual bool Failed() const { return false; }
};

// Sequential output (an extracted file, or a new archive).
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Returns false when the bytes could not be written (disk full, ...).
  virtual bool Write(const uint8_t* data, size_t size) = 0;
};

// A source over bytes in memory (tests, headers already read).
class MemorySource : public ByteSource {
 public:
  MemorySource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint64_t Size() const override { return size_; }
  size_t ReadAt(uint64_t offset, uint8_t* buffer, size_t size) override;

 private:
  const uint8_t* data_;
  size_t size_;
};

// A sink that collects bytes in memory.
class StringSink : public ByteSink {
 public:
  bool Write(const uint8_t* data, size_t size) override {
    bytes.append(reinterpret_cast<const char*>(data), size);
    return true;
  }
  std::string bytes;
};

// Moves a stdio stream to `offset` (64-bit on every system).
bool SeekStdioFile(FILE* file, uint64_t offset);

// stdio-backed file source and sink; they own the FILE*.
class StdioSource : public ByteSource {
 public:
  // Returns nullptr when the file cannot be opened.
  static StdioSource* Open(const char* path);
  ~StdioSource() override;
  uint64_t Size() const override { return size_; }
  size_t ReadAt(uint64_t offset, uint8_t* buffer, size_t size) override;
  bool Failed() const override { return failed_; }

 private:
  StdioSource(FILE* file, uint64_t size) : file_(file), size_(size) {}
  FILE* file_;
  uint64_t size_;
  uint64_t position_ = 0;
  bool failed_ = false;
};

class StdioSink : public ByteSink {
 public:
  static StdioSink* Create(const char* path);
  ~StdioSink() override;
  bool Write(const uint8_t* data, size_t size) override;
  // Flushes and closes; false when anything failed on the way.
  bool Close();

 private:
  explicit StdioSink(FILE* file) : file_(file) {}
  FILE* file_;
  bool failed_ = false;
};

}  // namespace lzh
