#include "archiver/lzh/io.h"

#include <cstring>

namespace lzh {

bool SeekStdioFile(FILE* file, uint64_t offset) {
#ifdef _WIN32
  return _fseeki64(file, static_cast<__int64>(offset), SEEK_SET) == 0;
#else
  return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

namespace {

uint64_t FileSize(FILE* file) {
#ifdef _WIN32
  if (_fseeki64(file, 0, SEEK_END) != 0) return 0;
  __int64 size = _ftelli64(file);
#else
  if (fseeko(file, 0, SEEK_END) != 0) return 0;
  off_t size = ftello(file);
#endif
  return size < 0 ? 0 : static_cast<uint64_t>(size);
}

}  // namespace

size_t MemorySource::ReadAt(uint64_t offset, uint8_t* buffer, size_t size) {
  if (offset >= size_) return 0;
  size_t available = size_ - static_cast<size_t>(offset);
  if (size > available) size = available;
  memcpy(buffer, data_ + offset, size);
  return size;
}

StdioSource* StdioSource::Open(const char* path) {
  FILE* file = fopen(path, "rb");
  if (!file) return nullptr;
  uint64_t size = FileSize(file);
  if (!SeekStdioFile(file, 0)) {
    fclose(file);
    return nullptr;
  }
  return new StdioSource(file, size);
}

StdioSource::~StdioSource() { fclose(file_); }

size_t StdioSource::ReadAt(uint64_t offset, uint8_t* buffer, size_t size) {
  if (offset != position_ && !SeekStdioFile(file_, offset)) {
    failed_ = true;
    return 0;
  }
  size_t got = fread(buffer, 1, size, file_);
  if (got < size && ferror(file_)) failed_ = true;
  position_ = offset + got;
  return got;
}

StdioSink* StdioSink::Create(const char* path) {
  FILE* file = fopen(path, "wb");
  return file ? new StdioSink(file) : nullptr;
}

StdioSink::~StdioSink() {
  if (file_) fclose(file_);
}

bool StdioSink::Write(const uint8_t* data, size_t size) {
  if (failed_ || !file_) return false;
  if (size && fwrite(data, 1, size, file_) != size) failed_ = true;
  return !failed_;
}

bool StdioSink::Close() {
  if (!file_) return !failed_;
  if (fflush(file_) != 0) failed_ = true;
  if (fclose(file_) != 0) failed_ = true;
  file_ = nullptr;
  return !failed_;
}

}  // namespace lzh
