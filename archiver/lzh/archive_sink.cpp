#include "archiver/lzh/archive_sink.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace lzh {

bool MemoryArchiveSink::Write(const uint8_t* data, size_t size) {
  size_t at = static_cast<size_t>(position_);
  size_t overlap = at < bytes.size() ? bytes.size() - at : 0;
  if (overlap > size) overlap = size;
  bytes.replace(at, overlap, reinterpret_cast<const char*>(data), size);
  position_ += size;
  return true;
}

bool MemoryArchiveSink::Seek(uint64_t position) {
  if (position > bytes.size()) return false;
  position_ = position;
  return true;
}

bool MemoryArchiveSink::Truncate() {
  bytes.resize(static_cast<size_t>(position_));
  return true;
}

namespace {

bool TruncateFile(FILE* file, uint64_t size) {
  if (fflush(file) != 0) return false;
#ifdef _WIN32
  return _chsize_s(_fileno(file), static_cast<__int64>(size)) == 0;
#else
  return ftruncate(fileno(file), static_cast<off_t>(size)) == 0;
#endif
}

}  // namespace

FileArchiveSink* FileArchiveSink::Create(const char* path) {
  FILE* file = fopen(path, "w+b");
  return file ? new FileArchiveSink(file) : nullptr;
}

FileArchiveSink::~FileArchiveSink() {
  if (file_) fclose(file_);
}

bool FileArchiveSink::Write(const uint8_t* data, size_t size) {
  if (failed_ || !file_) return false;
  if (size && fwrite(data, 1, size, file_) != size) failed_ = true;
  if (!failed_) position_ += size;
  return !failed_;
}

bool FileArchiveSink::Seek(uint64_t position) {
  if (failed_ || !file_) return false;
  if (!SeekStdioFile(file_, position)) failed_ = true;
  if (!failed_) position_ = position;
  return !failed_;
}

bool FileArchiveSink::Truncate() {
  if (failed_ || !file_) return false;
  if (!TruncateFile(file_, position_) || !SeekStdioFile(file_, position_)) failed_ = true;
  return !failed_;
}

bool FileArchiveSink::Close() {
  if (!file_) return !failed_;
  if (fflush(file_) != 0) failed_ = true;
  if (fclose(file_) != 0) failed_ = true;
  file_ = nullptr;
  return !failed_;
}

}  // namespace lzh
