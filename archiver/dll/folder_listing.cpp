#include "archiver/dll/folder_listing.h"

#include <cstddef>
#include <cstring>

#include "archiver/win/nt_file_calls.h"
#include "archiver/win/win_path.h"

namespace unlha {

namespace {

// NtQueryDirectoryFile with FileIdBothDirectoryInformation (37), which
// lists the file index beside what FindFirstFileW gives, from one handle.
struct IdBothEntry {
  ULONG next_offset;
  ULONG file_index;
  LARGE_INTEGER creation_time, access_time, write_time, change_time;
  LARGE_INTEGER end_of_file, allocation_size;
  ULONG attributes;
  ULONG name_length;  // bytes
  ULONG ea_size;      // the reparse tag, for a reparse point
  CHAR short_name_length;
  WCHAR short_name[12];
  LARGE_INTEGER file_id;
  WCHAR name[1];
};
constexpr int kFileIdBothDirectoryInformation = 37;
constexpr LONG kNoMoreFiles = static_cast<LONG>(0x80000006);

FILETIME TimeOf(const LARGE_INTEGER& value) {
  return FILETIME{static_cast<DWORD>(value.QuadPart), static_cast<DWORD>(value.QuadPart >> 32)};
}

bool IsDots(const WCHAR* name, size_t length) {
  return (length == 1 && name[0] == L'.') || (length == 2 && name[0] == L'.' && name[1] == L'.');
}

void Add(const IdBothEntry& entry, std::vector<FolderEntry>* out) {
  size_t length = entry.name_length / sizeof(WCHAR);
  if (IsDots(entry.name, length) || length >= MAX_PATH) return;
  FolderEntry added;
  WIN32_FIND_DATAW& found = added.found;
  memset(&found, 0, sizeof found);
  found.dwFileAttributes = entry.attributes;
  found.ftCreationTime = TimeOf(entry.creation_time);
  found.ftLastAccessTime = TimeOf(entry.access_time);
  found.ftLastWriteTime = TimeOf(entry.write_time);
  found.nFileSizeHigh = static_cast<DWORD>(entry.end_of_file.QuadPart >> 32);
  found.nFileSizeLow = static_cast<DWORD>(entry.end_of_file.QuadPart);
  if (entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT) found.dwReserved0 = entry.ea_size;
  memcpy(found.cFileName, entry.name, length * sizeof(WCHAR));
  added.index = static_cast<uint64_t>(entry.file_id.QuadPart);
  out->push_back(added);
}

// Through FindFirstFileW, without indexes, where the file system cannot
// list them.
bool ListBySearch(const std::wstring& folder, std::vector<FolderEntry>* out) {
  FolderEntry entry;
  HANDLE search = FindFirstFileW((winfs::WithSeparator(folder) + L"*").c_str(), &entry.found);
  if (search == INVALID_HANDLE_VALUE) return false;
  do {
    if (!IsDots(entry.found.cFileName, wcslen(entry.found.cFileName))) out->push_back(entry);
  } while (FindNextFileW(search, &entry.found));
  FindClose(search);
  return true;
}

}  // namespace

bool ListFolder(const std::wstring& folder, std::vector<FolderEntry>* out) {
  static const winfs::NtQueryDirectoryFileFunction query =
      winfs::NtdllFunction<winfs::NtQueryDirectoryFileFunction>("NtQueryDirectoryFile");
  out->clear();
  if (!query) return ListBySearch(folder, out);
  HANDLE handle = CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  // Aligned for the entries' 64-bit fields.
  static_assert(sizeof(LARGE_INTEGER) == 8, "");
  std::vector<LARGE_INTEGER> buffer(8192);
  ULONG bytes = static_cast<ULONG>(buffer.size() * sizeof(LARGE_INTEGER));
  LONG status = 0;
  for (BOOLEAN restart = TRUE;; restart = FALSE) {
    winfs::NtStatusBlock block = {};
    status = query(handle, nullptr, nullptr, nullptr, &block, buffer.data(), bytes, kFileIdBothDirectoryInformation,
                   FALSE, nullptr, restart);
    if (status < 0) break;
    if (block.information == 0) {
      status = kNoMoreFiles;
      break;
    }
    const char* base = reinterpret_cast<const char*>(buffer.data());
    for (size_t at = 0; at + offsetof(IdBothEntry, name) <= block.information;) {
      const IdBothEntry& entry = *reinterpret_cast<const IdBothEntry*>(base + at);
      if (at + offsetof(IdBothEntry, name) + entry.name_length > block.information) break;
      Add(entry, out);
      if (!entry.next_offset) break;
      at += entry.next_offset;
    }
  }
  CloseHandle(handle);
  if (status == kNoMoreFiles) return true;
  out->clear();
  return ListBySearch(folder, out);
}

}  // namespace unlha
