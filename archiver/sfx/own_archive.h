// The archive appended to the running program.
#pragma once
#include <memory>
#include <string>

#include "archiver/sfx/exe_payload.h"
#include "archiver/sfx/win_file.h"

namespace sfx {

class OwnArchive {
 public:
  // Opens the program's own file; false when it cannot be read or holds no
  // archive.
  bool Open();
  // The bytes after the program's image (the whole file if it is no PE image).
  lzh::ByteSource* source() { return tail_.get(); }
  const std::string& path() const { return path_; }
  // "C:\dir" of "C:\dir\name.exe", and "name.exe".
  std::string Folder() const;
  std::string FileName() const;

 private:
  std::string path_;
  FileSource file_;
  std::unique_ptr<TailSource> tail_;
};

}  // namespace sfx
