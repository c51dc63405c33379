#include "archiver/dll/disk_items.h"

#include <windows.h>

#include <unordered_map>

#include "archiver/dll/archive_access.h"
#include "archiver/dll/command_line.h"
#include "archiver/dll/file_time.h"

namespace unlha {

namespace {

bool SamePath(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

bool Skipped(const std::string& path, const std::vector<std::string>& skip) {
  std::string full = FullPath(path);
  for (const std::string& other : skip)
    if (SamePath(full, other)) return true;
  return false;
}

// Disk path -> stored form ('/' separators, CP932 trail bytes kept).
std::string StoredForm(const std::string& relative) {
  std::string stored = relative;
  for (size_t i = 0; i < stored.size(); ++i) {
    if (IsLeadByte((unsigned char)stored[i]) && i + 1 < stored.size()) ++i;
    else if (stored[i] == '\\') stored[i] = '/';
  }
  return stored;
}

void AddItem(const WIN32_FIND_DATAA& found, const std::string& disk_path, const std::string& stored,
             DiskItems* out) {
  lzh::NewItem item;
  item.is_directory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  lzh::Header& info = item.info;
  info.path = StoredForm(stored);
  if (item.is_directory && (info.path.empty() || info.path.back() != '/')) info.path += '/';
  info.original_size = item.is_directory ? 0 : ((uint64_t)found.nFileSizeHigh << 32) | found.nFileSizeLow;
  info.dos_time = DosTimeOf(found.ftLastWriteTime);
  info.unix_time = UnixTimeOf(found.ftLastWriteTime);
  info.has_unix_time = true;
  info.win_modify = FileTimeValue(found.ftLastWriteTime);
  info.win_create = FileTimeValue(found.ftCreationTime);
  info.win_access = FileTimeValue(found.ftLastAccessTime);
  info.os_id = lzh::kOsMsDos;
  info.dos_attributes = (uint8_t)(found.dwFileAttributes & 0x37);
  out->items.push_back(item);
  out->paths.push_back(disk_path);
}

// Adds everything below `folder` matching `pattern`, stored under `prefix`.
void Walk(const std::string& folder, const std::string& prefix, const std::string& pattern,
          const std::vector<std::string>& skip, DiskItems* out) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((WithSeparator(folder) + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  std::vector<WIN32_FIND_DATAA> children;
  do {
    if (!strcmp(found.cFileName, ".") || !strcmp(found.cFileName, "..")) continue;
    children.push_back(found);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  for (const WIN32_FIND_DATAA& child : children) {
    std::string disk = WithSeparator(folder) + child.cFileName;
    std::string stored = prefix + child.cFileName;
    if (child.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      AddItem(child, disk, stored, out);
      Walk(disk, stored + "\\", pattern, skip, out);
    } else if (WildcardMatch(FoldName(pattern), FoldName(child.cFileName)) && !Skipped(disk, skip)) {
      AddItem(child, disk, stored, out);
    }
  }
}

bool FindOne(const std::string& path, WIN32_FIND_DATAA* found) {
  std::string probe = path;
  while (probe.size() > 3 && (probe.back() == '\\' || probe.back() == '/')) probe.pop_back();
  HANDLE search = FindFirstFileA(probe.c_str(), found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

void AddFolder(const std::string& folder, const std::string& pattern, bool with_folder_name,
               const std::vector<std::string>& skip, DiskItems* out) {
  std::string prefix;
  if (with_folder_name) {
    WIN32_FIND_DATAA found;
    std::string name = BaseName(FullPath(folder));
    if (FindOne(folder, &found) && !name.empty()) {
      AddItem(found, folder, name, out);
      prefix = name + "\\";
    }
  }
  Walk(folder, prefix, pattern, skip, out);
  out->folders.push_back(folder);
}

}  // namespace

// Two disk files under one stored name (u -n a\x.txt b\x.txt) would make
// two entries of that name; the one named last is kept.
static void DropDuplicates(DiskItems* out) {
  std::unordered_map<std::string, size_t> last;
  for (size_t i = 0; i < out->items.size(); ++i) last[FoldName(out->items[i].info.path)] = i;
  if (last.size() == out->items.size()) return;
  DiskItems kept;
  for (size_t i = 0; i < out->items.size(); ++i) {
    if (last[FoldName(out->items[i].info.path)] != i) continue;
    kept.items.push_back(out->items[i]);
    kept.paths.push_back(out->paths[i]);
  }
  out->items.swap(kept.items);
  out->paths.swap(kept.paths);
}

void GatherDiskItems(const std::vector<std::string>& names, bool recursive, bool with_folder_name,
                     const std::vector<std::string>& skip, DiskItems* out) {
  for (const std::string& name : names) {
    bool wild = name.find_first_of("*?") != std::string::npos;
    if (wild) {
      std::string folder = ParentOf(name);
      std::string pattern = BaseName(name);
      if (folder.empty()) folder = ".";
      if (!DirectoryExists(folder)) {
        out->missing.push_back(name);
        continue;
      }
      size_t before = out->items.size();
      if (recursive) {
        AddFolder(folder, pattern, with_folder_name, skip, out);
      } else {
        // Matching files of one folder, each under its own name.
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(name.c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
          do {
            std::string disk = WithSeparator(folder) + found.cFileName;
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !Skipped(disk, skip))
              AddItem(found, disk, found.cFileName, out);
          } while (FindNextFileA(search, &found));
          FindClose(search);
        }
      }
      if (out->items.size() == before && !recursive) out->missing.push_back(name);
      continue;
    }
    WIN32_FIND_DATAA found;
    if (!FindOne(name, &found)) {
      out->missing.push_back(name);
      continue;
    }
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      // A folder given by name goes in with its own name (as if dropped).
      AddFolder(name, "*", !recursive || with_folder_name, skip, out);
    } else if (!Skipped(name, skip)) {
      AddItem(found, name, found.cFileName, out);
    }
  }
  DropDuplicates(out);
}

}  // namespace unlha
