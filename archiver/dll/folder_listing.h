// One folder's entries, each with its file index where the file system
// keeps one: a walk tells folders apart by it without opening each.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace unlha {

struct FolderEntry {
  WIN32_FIND_DATAW found;  // as FindFirstFileW fills it (no short name)
  uint64_t index = 0;      // the file index; 0 when not known
};

// The entries of `folder` but "." and ".."; false when it cannot be listed.
bool ListFolder(const std::wstring& folder, std::vector<FolderEntry>* out);

}  // namespace unlha
