#include "archiver/win/link_guard.h"

#include <windows.h>

#include "archiver/win/win_path.h"

namespace winfs {

std::wstring ResolvedPath(const std::wstring& path) {
  typedef DWORD(WINAPI * FinalPathFunction)(HANDLE, LPWSTR, DWORD, DWORD);
  FinalPathFunction final_path =
      reinterpret_cast<FinalPathFunction>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleW"));
  if (!final_path) return std::wstring();
  HANDLE handle = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::wstring();
  wchar_t buffer[MAX_PATH * 2];
  DWORD length = final_path(handle, buffer, MAX_PATH * 2, 0);
  CloseHandle(handle);
  if (length == 0 || length >= MAX_PATH * 2) return std::wstring();
  return std::wstring(buffer, length);
}

bool StaysBelow(const std::wstring& path, const std::wstring& resolved_base) {
  if (resolved_base.empty()) return true;
  std::wstring existing = path;
  while (!existing.empty() && GetFileAttributesW(existing.c_str()) == INVALID_FILE_ATTRIBUTES) {
    std::wstring parent = ParentOf(existing);
    if (parent == existing) break;
    existing = parent;
  }
  std::wstring resolved = ResolvedPath(existing);
  if (resolved.empty()) return false;
  std::wstring base = WithSeparator(resolved_base);
  if (resolved.size() + 1 == base.size()) resolved += L'\\';
  return resolved.size() >= base.size() &&
         CompareStringW(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, resolved.c_str(), static_cast<int>(base.size()),
                        base.c_str(), static_cast<int>(base.size())) == CSTR_EQUAL;
}

}  // namespace winfs
