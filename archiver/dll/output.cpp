#include "archiver/dll/commands.h"

#include <cstring>

#include "archiver/win/win_path.h"

namespace unlha {

void Output::Flush() const {
  if (!buffer_ || size_ == 0) return;
  size_t room = size_ - 1;
  size_t length = text_.size();
  if (length > room) {
    // Cut after the last whole line that fits.
    size_t cut = text_.rfind('\n', room - 1);
    length = (cut == std::string::npos || room == 0) ? 0 : cut + 1;
  }
  memcpy(buffer_, text_.data(), length);
  buffer_[length] = 0;
}

std::wstring WorkDirectory(const Job& job) {
  if (!job.command.work_path.empty()) return job.command.work_path;
  std::wstring parent = winfs::ParentOf(winfs::FullPath(job.command.archive_path));
  return parent.empty() ? std::wstring(L".") : parent;
}

}  // namespace unlha
