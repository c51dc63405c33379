#include "archiver/win/link_guard.h"

#include <windows.h>

#include "archiver/lzh/safe_path.h"

namespace winfs {
namespace {

// The folder above `path` ("C:\" stays whole); a CP932 trail byte 0x5C is no
// separator.
std::string ParentOf(const std::string& path) {
  size_t last = std::string::npos;
  for (size_t i = 0; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (lzh::IsCp932LeadByte(c) && i + 1 < path.size()) {
      ++i;
    } else if (c == '\\' || c == '/') {
      last = i;
    }
  }
  if (last == std::string::npos) return std::string();
  if (last == 2 && path[1] == ':') return path.substr(0, 3);
  return path.substr(0, last);
}

}  // namespace

std::string ResolvedPath(const std::string& path) {
  typedef DWORD(WINAPI * FinalPathFunction)(HANDLE, LPSTR, DWORD, DWORD);
  FinalPathFunction final_path =
      reinterpret_cast<FinalPathFunction>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleA"));
  if (!final_path) return std::string();
  HANDLE handle = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::string();
  char buffer[MAX_PATH * 2];
  DWORD length = final_path(handle, buffer, sizeof buffer, 0);
  CloseHandle(handle);
  if (length == 0 || length >= sizeof buffer) return std::string();
  return std::string(buffer, length);
}

bool StaysBelow(const std::string& path, const std::string& resolved_base) {
  if (resolved_base.empty()) return true;
  std::string existing = path;
  while (!existing.empty() && GetFileAttributesA(existing.c_str()) == INVALID_FILE_ATTRIBUTES) {
    std::string parent = ParentOf(existing);
    if (parent == existing) break;
    existing = parent;
  }
  std::string resolved = ResolvedPath(existing);
  if (resolved.empty()) return false;
  std::string base = resolved_base;
  if (base.back() != '\\') base += '\\';
  if (resolved.size() + 1 == base.size()) resolved += '\\';
  return resolved.size() >= base.size() &&
         CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, resolved.c_str(), static_cast<int>(base.size()),
                        base.c_str(), static_cast<int>(base.size())) == CSTR_EQUAL;
}

}  // namespace winfs
