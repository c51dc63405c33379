#include "archiver/dll/work_scratch.h"

#include <windows.h>

#include "archiver/win/win_path.h"

namespace unlha {
namespace {

class WorkScratch : public lzh::ScratchFile {
 public:
  explicit WorkScratch(HANDLE file) : file_(file) {}
  ~WorkScratch() override { CloseHandle(file_); }

  bool Write(const uint8_t* data, size_t size) override {
    if (!MoveTo(end_)) return false;
    DWORD written = 0;
    if (!WriteFile(file_, data, (DWORD)size, &written, nullptr) || written != size) return false;
    end_ += size;
    return true;
  }

  bool ReadBack(uint64_t offset, uint8_t* buffer, size_t size) override {
    DWORD read = 0;
    return offset + size <= end_ && MoveTo(offset) && ReadFile(file_, buffer, (DWORD)size, &read, nullptr) &&
           read == size;
  }

 private:
  bool MoveTo(uint64_t offset) {
    LARGE_INTEGER at;
    at.QuadPart = (LONGLONG)offset;
    return SetFilePointerEx(file_, at, nullptr, FILE_BEGIN) != 0;
  }

  HANDLE file_;
  uint64_t end_ = 0;
};

}  // namespace

lzh::ScratchFactory WorkScratchFactory(const std::wstring& directory) {
  return [directory]() -> std::unique_ptr<lzh::ScratchFile> {
    std::wstring path = winfs::MakeWorkFile(directory);
    if (path.empty()) return nullptr;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      DeleteFileW(path.c_str());
      return nullptr;
    }
    return std::unique_ptr<lzh::ScratchFile>(new WorkScratch(file));
  };
}

}  // namespace unlha
