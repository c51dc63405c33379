// Win32 file handles as the LZH library's byte source and sink.
#pragma once
#include <windows.h>

#include <cstdint>

#include "archiver/lzh/io.h"

namespace sfx {

// Reads a whole file; owns its handle.
class FileSource : public lzh::ByteSource {
 public:
  FileSource() = default;
  ~FileSource() override;
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  bool Open(const char* path);
  uint64_t Size() const override { return size_; }
  size_t ReadAt(uint64_t offset, uint8_t* buffer, size_t size) override;
  bool Failed() const override { return failed_; }

 private:
  HANDLE file_ = INVALID_HANDLE_VALUE;
  uint64_t size_ = 0;
  bool failed_ = false;
};

// Writes sequentially to a handle it does not own.
class FileSink : public lzh::ByteSink {
 public:
  explicit FileSink(HANDLE file) : file_(file) {}
  bool Write(const uint8_t* data, size_t size) override;
  DWORD last_error() const { return last_error_; }

 private:
  HANDLE file_;
  DWORD last_error_ = 0;
};

}  // namespace sfx
