// The archive appended to the running program.
#pragma once
#include <memory>
#include <string>

#include "archiver/sfx/exe_payload.h"
#include "archiver/win/win_file.h"

namespace sfx {

class OwnArchive {
 public:
  // Opens the program's own file; false when it cannot be read or holds no
  // archive.
  bool Open();
  // The bytes after the program's image (the whole file if it is no PE image).
  lzh::ByteSource* source() { return tail_.get(); }
  // "C:\dir" of "C:\dir\name.exe", and "name.exe" (as the user sees it).
  std::wstring Folder() const;
  std::string FileName() const;

 private:
  std::wstring path_;
  std::unique_ptr<winfs::FileSource> file_;
  std::unique_ptr<TailSource> tail_;
};

}  // namespace sfx
