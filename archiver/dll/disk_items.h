// Gathering files and folders from disk for u and m: what they will be
// called in the archive, their times and attributes, and where they are.
#pragma once
#include <string>
#include <vector>

#include "archiver/lzh/archive_edit.h"

namespace unlha {

struct DiskItems {
  std::vector<lzh::NewItem> items;
  std::vector<std::wstring> paths;    // disk path of items[i]
  std::vector<std::string> missing;   // names that matched nothing on disk
  std::vector<std::wstring> folders;  // folders whose whole content was taken (for m)
};

// A file named alone is stored under its own name; a folder (or "DIR\*.*"
// with -r) is walked recursively, stored relative to it, with its own name in
// front when `with_folder_name`. `skip` holds full paths never to take (the
// archive itself). Names arrive in the system code page; the disk is walked
// by wide names.
void GatherDiskItems(const std::vector<std::string>& names, bool recursive, bool with_folder_name,
                     const std::vector<std::wstring>& skip, DiskItems* out);

}  // namespace unlha
