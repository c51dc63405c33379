#include "archiver/sfx/own_archive.h"

#include <windows.h>

#include "archiver/lzh/reader.h"
#include "archiver/sfx/win_disk.h"

namespace sfx {

bool OwnArchive::Open() {
  char buffer[MAX_PATH * 2];
  DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  if (length == 0 || length >= sizeof buffer) return false;
  path_.assign(buffer, length);
  if (!file_.Open(path_.c_str())) return false;
  tail_.reset(new TailSource(&file_, PeImageEnd(&file_)));
  lzh::ArchiveReader reader(tail_.get());
  return reader.Open() == lzh::Error::kOk;
}

std::string OwnArchive::Folder() const { return ParentOf(path_); }

std::string OwnArchive::FileName() const {
  std::string folder = Folder();
  size_t start = folder.size();
  if (start < path_.size() && (path_[start] == '\\' || path_[start] == '/')) ++start;
  return path_.substr(start);
}

}  // namespace sfx
