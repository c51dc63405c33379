#include "archiver/sfx/win_disk.h"

#include <vector>

namespace sfx {
namespace {

// Offsets of every separator of `path`, skipping DBCS trail bytes.
std::vector<size_t> SeparatorsOf(const std::string& path) {
  std::vector<size_t> separators;
  for (size_t i = 0; i < path.size(); ++i) {
    if (IsDBCSLeadByte(static_cast<BYTE>(path[i])) && i + 1 < path.size()) {
      ++i;
      continue;
    }
    if (path[i] == '\\' || path[i] == '/') separators.push_back(i);
  }
  return separators;
}

bool IsFolder(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

const uint64_t kUnixEpochAsFileTime = 116444736000000000ULL;

FILETIME ToFileTime(uint64_t value) {
  FILETIME time;
  time.dwLowDateTime = static_cast<DWORD>(value);
  time.dwHighDateTime = static_cast<DWORD>(value >> 32);
  return time;
}

// The entry's modification time; false when it carries none.
bool ModifiedTime(const lzh::Header& header, FILETIME* time) {
  if (header.win_modify) {
    *time = ToFileTime(header.win_modify);
    return true;
  }
  if (header.has_unix_time) {
    *time = ToFileTime(static_cast<uint64_t>(header.unix_time * 10000000LL + kUnixEpochAsFileTime));
    return header.unix_time >= -11644473600LL;
  }
  if (header.dos_time == 0) return false;
  FILETIME local;
  if (!DosDateTimeToFileTime(HIWORD(header.dos_time), LOWORD(header.dos_time), &local)) return false;
  return LocalFileTimeToFileTime(&local, time) != FALSE;
}

}  // namespace

std::string ParentOf(const std::string& path) {
  std::vector<size_t> separators = SeparatorsOf(path);
  if (separators.empty()) return std::string();
  size_t last = separators.back();
  if (last > 0 && path[last - 1] == ':') ++last;  // keep the root: "C:\"
  return path.substr(0, last);
}

std::string FullPathOf(const std::string& path) {
  char buffer[MAX_PATH * 2];
  DWORD length = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
  std::string full = (length == 0 || length >= sizeof buffer) ? path : std::string(buffer, length);
  // Keep "C:\" and "\\server\share\" whole; drop any other trailing separator.
  while (full.size() > 3) {
    std::vector<size_t> separators = SeparatorsOf(full);
    if (separators.empty() || separators.back() != full.size() - 1) break;
    full.erase(full.size() - 1);
  }
  return full;
}

bool MakeFolders(const std::string& path, DWORD* error) {
  *error = 0;
  if (IsFolder(path)) return true;
  std::vector<size_t> separators = SeparatorsOf(path);
  separators.push_back(path.size());
  size_t previous = static_cast<size_t>(-1);
  for (size_t end : separators) {
    // Nothing to make for a root, a drive ("C:") or the doubled separator
    // of a UNC lead ("\\\\"); a trail byte 0x5C is no separator here.
    bool nothing = end == 0 || path[end - 1] == ':' || previous + 1 == end;
    previous = end;
    if (nothing) continue;
    std::string prefix = path.substr(0, end);
    if (IsFolder(prefix)) continue;
    if (!CreateDirectoryA(prefix.c_str(), nullptr) && !IsFolder(prefix)) {
      // Above the destination a share's root cannot be made: leave it to the
      // next level to fail with a useful error.
      if (end != path.size()) continue;
      *error = GetLastError();
      if (*error == 0) *error = ERROR_PATH_NOT_FOUND;
      return false;
    }
  }
  return IsFolder(path);
}

bool SetEntryTimes(HANDLE file, const lzh::Header& header) {
  FILETIME modified;
  if (!ModifiedTime(header, &modified)) return false;
  FILETIME created = ToFileTime(header.win_create);
  FILETIME accessed = ToFileTime(header.win_access);
  return SetFileTime(file, header.win_create ? &created : nullptr, header.win_access ? &accessed : &modified,
                     &modified) != FALSE;
}

void SetFolderTimes(const std::string& path, const lzh::Header& header) {
  HANDLE folder = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (folder == INVALID_HANDLE_VALUE) return;
  SetEntryTimes(folder, header);
  CloseHandle(folder);
}

DWORD EntryAttributes(const lzh::Header& header) {
  if (header.os_id == lzh::kOsUnix) return 0;
  return header.dos_attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
}

}  // namespace sfx
