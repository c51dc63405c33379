#include "archiver/dll/visited_folders.h"

namespace unlha {

bool VisitedFolders::Enter(const std::wstring& folder) {
  // Backup semantics let CreateFile open a folder; no access is needed to
  // read its identity.
  HANDLE handle = CreateFileW(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return true;
  BY_HANDLE_FILE_INFORMATION info;
  BOOL known = GetFileInformationByHandle(handle, &info);
  CloseHandle(handle);
  if (!known) return true;
  return seen_.insert(std::make_tuple(info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow)).second;
}

}  // namespace unlha
