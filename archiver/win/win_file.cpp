#include "archiver/win/win_file.h"

#include <algorithm>
#include <cstring>

namespace winfs {

namespace {
const size_t kBufferSize = 1 << 16;
const size_t kSmallRead = 4096;  // reads up to this size go through the read-ahead

bool SetPosition(HANDLE file, uint64_t position) {
  LARGE_INTEGER where;
  where.QuadPart = (LONGLONG)position;
  return SetFilePointerEx(file, where, nullptr, FILE_BEGIN) != 0;
}
}  // namespace

std::unique_ptr<FileSource> FileSource::Open(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file, &size)) {
    DWORD error = GetLastError();
    CloseHandle(file);
    SetLastError(error);
    return nullptr;
  }
  return std::unique_ptr<FileSource>(new FileSource(file, (uint64_t)size.QuadPart));
}

FileSource::~FileSource() { CloseHandle(file_); }

size_t FileSource::ReadAt(uint64_t offset, uint8_t* buffer, size_t size) {
  if (offset >= size_) return 0;
  if (size > kSmallRead) return ReadDirect(offset, buffer, size);
  if (offset < ahead_start_ || offset + size > ahead_start_ + ahead_.size()) {
    ahead_.resize(kBufferSize);
    size_t got = ReadDirect(offset, reinterpret_cast<uint8_t*>(&ahead_[0]), kBufferSize);
    ahead_.resize(got);
    ahead_start_ = offset;
  }
  size_t available = (size_t)std::min<uint64_t>(size, ahead_start_ + ahead_.size() - offset);
  memcpy(buffer, ahead_.data() + (offset - ahead_start_), available);
  return available;
}

size_t FileSource::ReadDirect(uint64_t offset, uint8_t* buffer, size_t size) {
  if (offset >= size_) return 0;
  // Reading stops at the size the file had when opened, which spares the
  // read that would only find its end.
  size = (size_t)std::min<uint64_t>(size, size_ - offset);
  if (offset != position_) {
    if (!SetPosition(file_, offset)) {
      failed_ = true;
      return 0;
    }
    position_ = offset;
  }
  size_t total = 0;
  while (total < size) {
    DWORD chunk = (DWORD)std::min<size_t>(size - total, 1u << 30);
    DWORD got = 0;
    if (!ReadFile(file_, buffer + total, chunk, &got, nullptr)) {
      failed_ = true;
      break;
    }
    if (got == 0) break;
    total += got;
  }
  position_ += total;
  return total;
}

FILETIME FileSource::WriteTime() const {
  FILETIME write = {0, 0};
  GetFileTime(file_, nullptr, nullptr, &write);
  return write;
}

std::unique_ptr<FileSink> FileSink::CreateNew(const std::wstring& path, DWORD attributes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            attributes ? attributes : FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  return std::unique_ptr<FileSink>(new FileSink(file));
}

std::unique_ptr<FileSink> FileSink::CreateWork(const std::wstring& folder, DWORD attributes, std::wstring* path) {
  // Names are tried from a counter that starts where the clock stands, as
  // the system's own do.
  static unsigned next = 0;
  if (!next) next = GetTickCount() ^ (GetCurrentProcessId() << 4);
  std::wstring base = folder.empty() ? std::wstring(L".\\") : folder;
  if (base.back() != L'\\' && base.back() != L'/') base += L'\\';
  for (unsigned tries = 0; tries < 0x10000; tries++) {
    unsigned unique = next++ & 0xFFFF;
    if (!unique) continue;
    wchar_t name[] = L"lzh0000.tmp";
    for (int digit = 0; digit < 4; digit++) name[6 - digit] = L"0123456789ABCDEF"[(unique >> (4 * digit)) & 15];
    *path = base + name;
    if (std::unique_ptr<FileSink> sink = CreateNew(*path, attributes)) return sink;
    DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  path->clear();
  return nullptr;
}

FileSink::~FileSink() {
  if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
}

bool FileSink::Flush() {
  if (buffer_.empty()) return error_ == 0;
  if (error_) return false;
  if (handle_at_ != buffer_start_ && !SetPosition(file_, buffer_start_)) {
    error_ = GetLastError();
    return false;
  }
  handle_at_ = buffer_start_;
  DWORD written = 0;
  if (!WriteFile(file_, buffer_.data(), (DWORD)buffer_.size(), &written, nullptr)) {
    error_ = GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
    return false;
  }
  if (written != buffer_.size()) {
    // A short write leaves no error of its own: the last one recorded is
    // stale (often "already exists" from creating this very file).
    error_ = ERROR_DISK_FULL;
    return false;
  }
  handle_at_ += written;
  buffer_.clear();
  return true;
}

bool FileSink::Write(const uint8_t* data, size_t size) {
  if (error_) return false;
  // The buffer holds one contiguous run; a write within it or at its end
  // (a header written again after its entry) stays in memory.
  if (buffer_.empty()) buffer_start_ = position_;
  if (position_ < buffer_start_ || position_ > buffer_start_ + buffer_.size()) {
    if (!Flush()) return false;
    buffer_start_ = position_;
  }
  size_t offset = (size_t)(position_ - buffer_start_);
  size_t over = std::min(size, buffer_.size() - offset);
  if (over) memcpy(&buffer_[offset], data, over);
  buffer_.append((const char*)data + over, size - over);
  position_ += size;
  if (position_ > end_) end_ = position_;
  if (buffer_.size() >= kBufferSize) return Flush();
  return true;
}

bool FileSink::Seek(uint64_t position) {
  if (position > end_) return false;
  if (!buffer_.empty() && position >= buffer_start_ && position <= buffer_start_ + buffer_.size()) {
    position_ = position;
    return true;
  }
  if (!Flush()) return false;
  position_ = position;
  buffer_start_ = position;
  return true;
}

bool FileSink::Truncate() {
  if (!Flush()) return false;
  if (!SetPosition(file_, position_) || !SetEndOfFile(file_)) {
    error_ = GetLastError();
    return false;
  }
  handle_at_ = position_;
  end_ = position_;
  return true;
}

bool FileSink::Close() {
  bool ok = Flush();
  if (!CloseHandle(file_)) ok = false;
  file_ = INVALID_HANDLE_VALUE;
  return ok && error_ == 0;
}

}  // namespace winfs
