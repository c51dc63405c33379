#include "archiver/sfx/win_file.h"

namespace sfx {

FileSource::~FileSource() {
  if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
}

bool FileSource::Open(const char* path) {
  file_ = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file_ == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file_, &size)) return false;
  size_ = static_cast<uint64_t>(size.QuadPart);
  return true;
}

size_t FileSource::ReadAt(uint64_t offset, uint8_t* buffer, size_t size) {
  if (file_ == INVALID_HANDLE_VALUE || offset >= size_) return 0;
  LARGE_INTEGER position;
  position.QuadPart = static_cast<LONGLONG>(offset);
  if (!SetFilePointerEx(file_, position, nullptr, FILE_BEGIN)) {
    failed_ = true;
    return 0;
  }
  size_t total = 0;
  while (total < size) {
    DWORD chunk = size - total > 0x100000 ? 0x100000 : static_cast<DWORD>(size - total);
    DWORD got = 0;
    if (!ReadFile(file_, buffer + total, chunk, &got, nullptr)) {
      failed_ = true;
      break;
    }
    if (got == 0) break;
    total += got;
  }
  return total;
}

bool FileSink::Write(const uint8_t* data, size_t size) {
  while (size > 0) {
    DWORD chunk = size > 0x100000 ? 0x100000 : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(file_, data, chunk, &written, nullptr) || written != chunk) {
      last_error_ = GetLastError();
      if (last_error_ == 0) last_error_ = ERROR_DISK_FULL;
      return false;
    }
    data += chunk;
    size -= chunk;
  }
  return true;
}

}  // namespace sfx
