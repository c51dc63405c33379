#include "archiver/dll/disk_items.h"

#include <windows.h>

#include <unordered_map>

#include "archiver/dll/command_line.h"
#include "archiver/dll/folder_listing.h"
#include "archiver/dll/visited_folders.h"
#include "archiver/win/entry_time.h"
#include "archiver/win/link_guard.h"
#include "archiver/win/wide_text.h"
#include "archiver/win/win_path.h"

namespace unlha {

namespace {

// Only a file of the same size can be one to skip: the identity is read
// for those alone.
bool Skipped(const WIN32_FIND_DATAW& found, const std::wstring& path, const std::vector<winfs::FileIdentity>& skip) {
  uint64_t size = ((uint64_t)found.nFileSizeHigh << 32) | found.nFileSizeLow;
  winfs::FileIdentity identity;
  bool known = false;
  for (const winfs::FileIdentity& other : skip) {
    if (other.size != size) continue;
    if (!known && !(known = winfs::IdentityOf(path, &identity))) return false;
    if (identity.SameFile(other)) return true;
  }
  return false;
}

// A link or junction in `resolved_folder` (the real path of the folder
// being walked): it is tagged as one, or it leads somewhere else. Other
// reparse points (files kept in the cloud, deduplicated files) are files
// like any other; Wine tags nothing.
bool IsLink(const WIN32_FIND_DATAW& found, const std::wstring& disk, const std::wstring& resolved_folder) {
  bool reparse = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  if (reparse && (found.dwReserved0 == IO_REPARSE_TAG_SYMLINK || found.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT))
    return true;
  if (resolved_folder.empty()) return false;
  std::wstring resolved = winfs::ResolvedPath(disk);
  std::wstring expected = winfs::WithSeparator(resolved_folder) + found.cFileName;
  return !resolved.empty() && lstrcmpiW(resolved.c_str(), expected.c_str()) != 0;
}

// Disk path relative to the stored root -> stored form: CP932 bytes with '/'
// separators (directories ending in '/'). A part CP932 cannot spell is
// stored with its best spelling and, exactly, in the Unicode name fields.
void SetStoredName(const std::wstring& relative, bool is_directory, lzh::Header* info) {
  std::wstring slashed = relative;
  for (wchar_t& c : slashed)
    if (c == L'\\') c = L'/';
  if (is_directory && (slashed.empty() || slashed.back() != L'/')) slashed += L'/';
  bool exact = true;
  info->path = winfs::Narrow(slashed, winfs::kCp932, &exact, "_");
  if (exact) return;
  size_t slash = is_directory ? slashed.size() - 1 : slashed.rfind(L'/');
  std::wstring dir = slash == std::wstring::npos ? std::wstring() : slashed.substr(0, slash + 1);
  std::wstring name = slashed.substr(dir.size());
  bool dir_exact = true, name_exact = true;
  winfs::Narrow(dir, winfs::kCp932, &dir_exact);
  winfs::Narrow(name, winfs::kCp932, &name_exact);
  if (!dir_exact) info->unicode_dir = winfs::Narrow(dir, CP_UTF8);
  if (!name_exact) info->unicode_name = winfs::Narrow(name, CP_UTF8);
}

void AddItem(const WIN32_FIND_DATAW& found, const std::wstring& disk_path, const std::wstring& stored,
             DiskItems* out) {
  lzh::NewItem item;
  item.is_directory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  lzh::Header& info = item.info;
  SetStoredName(stored, item.is_directory, &info);
  info.original_size = item.is_directory ? 0 : ((uint64_t)found.nFileSizeHigh << 32) | found.nFileSizeLow;
  info.dos_time = winfs::DosTimeOf(found.ftLastWriteTime);
  info.unix_time = winfs::UnixTimeOf(found.ftLastWriteTime);
  info.has_unix_time = true;
  info.win_modify = winfs::FileTimeValue(found.ftLastWriteTime);
  info.win_create = winfs::FileTimeValue(found.ftCreationTime);
  info.win_access = winfs::FileTimeValue(found.ftLastAccessTime);
  info.os_id = lzh::kOsMsDos;
  info.dos_attributes = (uint8_t)(found.dwFileAttributes & 0x37);
  out->items.push_back(item);
  out->paths.push_back(disk_path);
}

// Whether a disk name matches a pattern of the command line (folded bytes).
bool Matches(const std::string& folded_pattern, const wchar_t* name) {
  return WildcardMatch(folded_pattern, FoldName(winfs::Narrow(name, winfs::kCp932)));
}

// Where a walk stands: `resolved` is the folder's real path when links are
// not followed (empty otherwise).
struct WalkPlace {
  std::wstring folder;
  std::wstring resolved;
};

// Adds everything below `place` matching `pattern`, stored under `prefix`;
// each folder on disk is entered once, however many links lead to it.
void Walk(const WalkPlace& place, const std::wstring& prefix, const std::string& pattern,
          const GatherOptions& options, VisitedFolders* visited, DiskItems* out) {
  const std::wstring& folder = place.folder;
  std::vector<FolderEntry> children;
  if (!ListFolder(folder, &children)) return;
  std::string folded_pattern = FoldName(pattern);
  for (const FolderEntry& entry : children) {
    const WIN32_FIND_DATAW& child = entry.found;
    std::wstring disk = winfs::WithSeparator(folder) + child.cFileName;
    std::wstring stored = prefix + child.cFileName;
    bool is_directory = (child.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (!options.follow_links && (is_directory || Matches(folded_pattern, child.cFileName)) &&
        IsLink(child, disk, place.resolved)) {
      out->links.push_back(disk);
      continue;
    }
    if (is_directory) {
      // A link's index in the listing is its own (or none): it is read from
      // where the link leads.
      bool reparse = (child.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
      if (!visited->Enter(disk, reparse ? 0 : entry.index)) continue;
      AddItem(child, disk, stored, out);
      WalkPlace inner = {disk, place.resolved.empty() ? std::wstring()
                                                      : winfs::WithSeparator(place.resolved) + child.cFileName};
      Walk(inner, stored + L"\\", pattern, options, visited, out);
    } else if (Matches(folded_pattern, child.cFileName) && !Skipped(child, disk, options.skip)) {
      AddItem(child, disk, stored, out);
    }
  }
}

bool FindOne(const std::wstring& path, WIN32_FIND_DATAW* found) {
  std::wstring probe = path;
  while (probe.size() > 3 && (probe.back() == L'\\' || probe.back() == L'/')) probe.pop_back();
  // A name that is not there is answered quickly: under Wine a search costs
  // ten times as much, which a line of many missing names adds up.
  if (GetFileAttributesW(probe.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  HANDLE search = FindFirstFileW(probe.c_str(), found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

void AddFolder(const std::wstring& folder, const std::string& pattern, bool with_folder_name,
               const GatherOptions& options, DiskItems* out) {
  std::wstring prefix;
  if (with_folder_name) {
    WIN32_FIND_DATAW found;
    std::wstring name = winfs::BaseName(winfs::FullPath(folder));
    if (FindOne(folder, &found) && !name.empty()) {
      AddItem(found, folder, name, out);
      prefix = name + L"\\";
    }
  }
  VisitedFolders visited;
  visited.Enter(folder);
  WalkPlace place = {folder, options.follow_links ? std::wstring() : winfs::ResolvedPath(folder)};
  Walk(place, prefix, pattern, options, &visited, out);
  out->folders.push_back(folder);
}

// Two disk files under one stored name (u -n a\x.txt b\x.txt) would make
// two entries of that name; the one named last is kept.
void DropDuplicates(DiskItems* out) {
  std::unordered_map<std::string, size_t> last;
  for (size_t i = 0; i < out->items.size(); ++i) last[lzh::EntryNameKey(out->items[i].info)] = i;
  if (last.size() == out->items.size()) return;
  DiskItems kept;
  for (size_t i = 0; i < out->items.size(); ++i) {
    if (last[lzh::EntryNameKey(out->items[i].info)] != i) continue;
    kept.items.push_back(out->items[i]);
    kept.paths.push_back(out->paths[i]);
  }
  out->items.swap(kept.items);
  out->paths.swap(kept.paths);
}

}  // namespace

void GatherDiskItems(const std::vector<std::string>& names, const GatherOptions& options, DiskItems* out) {
  bool recursive = options.recursive;
  for (const std::string& name : names) {
    std::wstring wide = winfs::Widen(name);
    bool wild = name.find_first_of("*?") != std::string::npos;
    if (wild) {
      std::wstring folder = winfs::ParentOf(wide);
      std::string pattern = winfs::Narrow(winfs::BaseName(wide));
      if (folder.empty()) folder = L".";
      if (!winfs::DirectoryExists(folder)) {
        out->missing.push_back(name);
        continue;
      }
      size_t before = out->items.size();
      if (recursive) {
        AddFolder(folder, pattern, options.with_folder_name, options, out);
      } else {
        // Matching files of one folder, each under its own name.
        std::vector<FolderEntry> entries;
        ListFolder(folder, &entries);
        std::string folded_pattern = FoldName(pattern);
        std::wstring resolved = options.follow_links ? std::wstring() : winfs::ResolvedPath(folder);
        for (const FolderEntry& entry : entries) {
          const WIN32_FIND_DATAW& found = entry.found;
          std::wstring disk = winfs::WithSeparator(folder) + found.cFileName;
          if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY || !Matches(folded_pattern, found.cFileName) ||
              Skipped(found, disk, options.skip))
            continue;
          if (!options.follow_links && IsLink(found, disk, resolved))
            out->links.push_back(disk);
          else
            AddItem(found, disk, found.cFileName, out);
        }
      }
      if (out->items.size() == before && !recursive) out->missing.push_back(name);
      continue;
    }
    WIN32_FIND_DATAW found;
    if (!FindOne(wide, &found)) {
      out->missing.push_back(name);
      continue;
    }
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      // A folder given by name goes in with its own name (as if dropped).
      AddFolder(wide, "*", !recursive || options.with_folder_name, options, out);
    } else if (!Skipped(found, wide, options.skip)) {
      AddItem(found, wide, found.cFileName, out);
    }
  }
  DropDuplicates(out);
}

}  // namespace unlha
