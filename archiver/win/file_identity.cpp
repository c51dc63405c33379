#include "archiver/win/file_identity.h"

#include "archiver/win/nt_file_calls.h"

namespace winfs {

bool IdentityOf(HANDLE file, FileIdentity* identity) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(file, &info)) return false;
  identity->volume = info.dwVolumeSerialNumber;
  identity->index_high = info.nFileIndexHigh;
  identity->index_low = info.nFileIndexLow;
  identity->size = ((uint64_t)info.nFileSizeHigh << 32) | info.nFileSizeLow;
  identity->write_time = ((uint64_t)info.ftLastWriteTime.dwHighDateTime << 32) | info.ftLastWriteTime.dwLowDateTime;
  return true;
}

bool FileIndexOf(HANDLE file, uint64_t* index) {
  // NtQueryInformationFile with FileInternalInformation (6), which holds
  // nothing but the index.
  static const NtQueryInformationFileFunction query =
      NtdllFunction<NtQueryInformationFileFunction>("NtQueryInformationFile");
  LARGE_INTEGER internal;
  NtStatusBlock block;
  if (!query || query(file, &block, &internal, sizeof internal, 6) < 0) return false;
  *index = static_cast<uint64_t>(internal.QuadPart);
  return true;
}

bool IdentityOf(const std::wstring& path, FileIdentity* identity) {
  // Backup semantics open folders too; no access is needed to read the
  // identity, so a file another program holds open still answers.
  HANDLE handle = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  bool known = IdentityOf(handle, identity);
  CloseHandle(handle);
  return known;
}

}  // namespace winfs
