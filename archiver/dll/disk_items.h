// Gathering files and folders from disk for u and m: what they will be
// called in the archive, their times and attributes, and where they are.
#pragma once
#include <string>
#include <vector>

#include "archiver/lzh/archive_edit.h"
#include "archiver/win/file_identity.h"

namespace unlha {

struct DiskItems {
  std::vector<lzh::NewItem> items;
  std::vector<std::wstring> paths;    // disk path of items[i]
  std::vector<std::string> missing;   // names that matched nothing on disk
  std::vector<std::wstring> folders;  // folders whose whole content was taken (for m)
  std::vector<std::wstring> links;    // links met and not followed (follow_links false)
};

struct GatherOptions {
  bool recursive = false;
  bool with_folder_name = false;
  // False for m: a link or junction in a folder being walked is neither
  // followed nor taken, so that nothing it leads to is ever deleted.
  bool follow_links = true;
  // Files never taken, whatever path reaches them (the archive itself).
  std::vector<winfs::FileIdentity> skip;
};

// A file named alone is stored under its own name; a folder (or "DIR\*.*"
// with -r) is walked recursively, stored relative to it, with its own name in
// front when `with_folder_name`. Names arrive in the system code page; the
// disk is walked by wide names.
void GatherDiskItems(const std::vector<std::string>& names, const GatherOptions& options, DiskItems* out);

}  // namespace unlha
