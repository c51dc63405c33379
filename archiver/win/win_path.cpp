#include "archiver/win/win_path.h"

#include <algorithm>

namespace winfs {
namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

size_t LastSeparator(const std::wstring& path) { return path.find_last_of(L"\\/"); }

// The length of the root of an absolute path: "C:\" 3, "\\server\share\" to
// its end, "\" 1; 0 for a relative path.
size_t RootLength(const std::wstring& path) {
  if (path.size() >= 3 && path[1] == L':' && IsSeparator(path[2])) return 3;
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    size_t server = path.find_first_of(L"\\/", 2);
    if (server == std::wstring::npos) return path.size();
    size_t share = path.find_first_of(L"\\/", server + 1);
    return share == std::wstring::npos ? path.size() : share + 1;
  }
  return !path.empty() && IsSeparator(path[0]) ? 1 : 0;
}

}  // namespace

bool FileExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring WithSeparator(const std::wstring& directory) {
  if (directory.empty() || IsSeparator(directory.back())) return directory;
  return directory + L'\\';
}

std::wstring ParentOf(const std::wstring& path) {
  size_t last = LastSeparator(path);
  if (last == std::wstring::npos) return std::wstring();
  size_t root = RootLength(path);
  if (last < root) return path.substr(0, root);
  return path.substr(0, std::max(last, root));
}

std::wstring BaseName(const std::wstring& path) {
  std::wstring trimmed = path;
  while (!trimmed.empty() && IsSeparator(trimmed.back())) trimmed.pop_back();
  size_t last = LastSeparator(trimmed);
  return last == std::wstring::npos ? trimmed : trimmed.substr(last + 1);
}

std::wstring FullPath(const std::wstring& path) {
  wchar_t buffer[MAX_PATH * 2];
  DWORD length = GetFullPathNameW(path.empty() ? L"." : path.c_str(), MAX_PATH * 2, buffer, nullptr);
  std::wstring full = (length == 0 || length >= MAX_PATH * 2) ? path : std::wstring(buffer, length);
  while (full.size() > RootLength(full) && IsSeparator(full.back())) full.pop_back();
  return full;
}

bool IsInside(const std::wstring& path, const std::wstring& directory) {
  std::wstring base = WithSeparator(directory);
  return path.size() > base.size() &&
         CompareStringW(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, path.c_str(), static_cast<int>(base.size()),
                        base.c_str(), static_cast<int>(base.size())) == CSTR_EQUAL;
}

bool MakeFolders(const std::wstring& path, DWORD* error) {
  if (error) *error = 0;
  std::wstring folder = path;
  while (folder.size() > RootLength(folder) && IsSeparator(folder.back())) folder.pop_back();
  if (folder.empty() || DirectoryExists(folder)) return true;
  if (folder.size() <= RootLength(folder)) {
    // A root or share that is not there cannot be made.
    if (error) *error = ERROR_PATH_NOT_FOUND;
    return false;
  }
  std::wstring parent = ParentOf(folder);
  if (!parent.empty() && parent != folder && !MakeFolders(parent, error)) return false;
  if (CreateDirectoryW(folder.c_str(), nullptr) || DirectoryExists(folder)) return true;
  if (error) *error = GetLastError() ? GetLastError() : ERROR_PATH_NOT_FOUND;
  return false;
}

std::wstring MakeWorkFile(const std::wstring& directory) {
  // The system writes up to MAX_PATH characters and does not check the
  // folder's length itself.
  wchar_t buffer[MAX_PATH * 2];
  std::wstring where = directory.empty() ? std::wstring(L".") : directory;
  if (where.size() > MAX_PATH - 14) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return std::wstring();
  }
  if (!GetTempFileNameW(where.c_str(), L"lzh", 0, buffer)) return std::wstring();
  return buffer;
}

bool ReplaceWith(const std::wstring& work_file, const std::wstring& target, DWORD* error) {
  const DWORD kMove = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
  if (MoveFileExW(work_file.c_str(), target.c_str(), kMove)) return true;
  DWORD failure = GetLastError();
  // An existing read-only file refuses the replacement: asked only then,
  // so a new file costs the rename alone.
  bool retry = failure == ERROR_ACCESS_DENIED;
  DWORD old = retry || failure == ERROR_NOT_SAME_DEVICE ? GetFileAttributesW(target.c_str()) : INVALID_FILE_ATTRIBUTES;
  if (old != INVALID_FILE_ATTRIBUTES && !(old & FILE_ATTRIBUTE_DIRECTORY) && (old & FILE_ATTRIBUTE_READONLY)) {
    SetFileAttributesW(target.c_str(), old & ~FILE_ATTRIBUTE_READONLY);
    if (retry && MoveFileExW(work_file.c_str(), target.c_str(), kMove)) return true;
    if (retry) failure = GetLastError();
  }
  if (failure == ERROR_NOT_SAME_DEVICE) {
    // Copy next to the target first, so the old file is only ever replaced
    // by a rename.
    std::wstring beside = MakeWorkFile(ParentOf(FullPath(target)));
    if (!beside.empty()) {
      if (CopyFileW(work_file.c_str(), beside.c_str(), FALSE) && MoveFileExW(beside.c_str(), target.c_str(), kMove)) {
        DeleteFileW(work_file.c_str());
        return true;
      }
      failure = GetLastError();
      DeleteFileW(beside.c_str());
    }
  }
  DeleteFileW(work_file.c_str());
  if (old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_READONLY)) SetFileAttributesW(target.c_str(), old);
  if (error) *error = failure ? failure : ERROR_WRITE_FAULT;
  return false;
}

}  // namespace winfs
