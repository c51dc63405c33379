// Byte sources and sinks over Win32 files reached by wide names, buffered,
// owning their handles: what the library and the self-extractors read
// archives from and write files and archives to.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "archiver/lzh/archive_sink.h"
#include "archiver/lzh/io.h"

namespace winfs {

class FileSource : public lzh::ByteSource {
 public:
  // nullptr when the file cannot be opened for reading (GetLastError tells why).
  static std::unique_ptr<FileSource> Open(const std::wstring& path);
  ~FileSource() override;
  uint64_t Size() const override { return size_; }
  size_t ReadAt(uint64_t offset, uint8_t* buffer, size_t size) override;
  bool Failed() const override { return failed_; }
  // The file's last-write time.
  FILETIME WriteTime() const;
  HANDLE handle() const { return file_; }

 private:
  FileSource(HANDLE file, uint64_t size) : file_(file), size_(size) {}
  size_t ReadDirect(uint64_t offset, uint8_t* buffer, size_t size);
  HANDLE file_;
  uint64_t size_;
  uint64_t position_ = 0;  // where the handle's pointer is
  bool failed_ = false;
  // Read-ahead for small reads (a walk over many headers): the file's bytes
  // from ahead_start_.
  std::string ahead_;
  uint64_t ahead_start_ = 0;
};

// A new file written front to back (extraction), or with seeks (a new
// archive). Close() reports whether every byte reached the disk.
class FileSink : public lzh::ArchiveSink {
 public:
  // `path` made anew with `attributes`; null (and the system's error) when
  // the name is taken or cannot be made.
  static std::unique_ptr<FileSink> CreateNew(const std::wstring& path, DWORD attributes);
  // A new work file in `folder`, named as the system names temporary files
  // ("lzhXXXX.tmp") and made with `attributes` in the same call, so it
  // costs one trip to the system; *path tells its name.
  static std::unique_ptr<FileSink> CreateWork(const std::wstring& folder, DWORD attributes, std::wstring* path);
  ~FileSink() override;
  bool Write(const uint8_t* data, size_t size) override;
  uint64_t Position() const override { return position_; }
  bool Seek(uint64_t position) override;
  bool Truncate() override;
  bool Close();
  HANDLE handle() const { return file_; }
  // The error code of the first failure (ERROR_DISK_FULL, ...), 0 if none.
  DWORD LastError() const { return error_; }
  // Flushes the buffer; returns false on failure.
  bool Flush();

 private:
  explicit FileSink(HANDLE file) : file_(file) {}
  HANDLE file_;
  uint64_t position_ = 0;
  uint64_t end_ = 0;
  std::string buffer_;     // bytes not yet written, starting at buffer_start_
  uint64_t buffer_start_ = 0;
  uint64_t handle_at_ = 0;  // where the handle's pointer is
  DWORD error_ = 0;
};

}  // namespace winfs
