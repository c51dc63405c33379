#include "archiver/sfx/own_archive.h"

#include <windows.h>

#include "archiver/lzh/reader.h"
#include "archiver/win/wide_text.h"
#include "archiver/win/win_path.h"

namespace sfx {

bool OwnArchive::Open() {
  wchar_t buffer[MAX_PATH * 2];
  DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH * 2);
  if (length == 0 || length >= MAX_PATH * 2) return false;
  path_.assign(buffer, length);
  file_ = winfs::FileSource::Open(path_);
  if (!file_) return false;
  tail_.reset(new TailSource(file_.get(), PeImageEnd(file_.get())));
  lzh::ArchiveReader reader(tail_.get());
  return reader.Open() == lzh::Error::kOk;
}

std::wstring OwnArchive::Folder() const { return winfs::ParentOf(path_); }

std::string OwnArchive::FileName() const { return winfs::Narrow(winfs::BaseName(path_)); }

}  // namespace sfx
