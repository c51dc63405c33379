#include "archiver/dll/commands.h"

#include <cstring>

#include "archiver/dll/archive_access.h"

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

std::string WorkDirectory(const Job& job) {
  if (!job.command.work_dir.empty()) return job.command.work_dir;
  std::string parent = ParentOf(FullPath(job.command.archive));
  return parent.empty() ? std::string(".") : parent;
}

}  // namespace unlha
