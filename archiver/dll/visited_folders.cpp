#include "archiver/dll/visited_folders.h"

namespace unlha {

bool VisitedFolders::Enter(const std::wstring& folder, uint64_t index) {
  Entered entered;
  entered.path = folder;
  if (index && !seen_.count(index)) {
    seen_.emplace(index, entered);
    return true;
  }
  HANDLE handle = CreateFileW(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return true;
  bool indexed = index || winfs::FileIndexOf(handle, &index);
  if (!indexed || seen_.count(index)) {
    // Met before, or another volume's folder with the same index.
    entered.identity_known = winfs::IdentityOf(handle, &entered.identity);
    if (!indexed) index = entered.identity.Index();
  }
  CloseHandle(handle);
  if (!indexed && !entered.identity_known) return true;
  if (entered.identity_known && SameAsEarlier(entered.identity, index)) return false;
  seen_.emplace(index, entered);
  return true;
}

bool VisitedFolders::SameAsEarlier(const winfs::FileIdentity& identity, uint64_t index) {
  auto range = seen_.equal_range(index);
  for (auto it = range.first; it != range.second; ++it) {
    Entered& earlier = it->second;
    if (!earlier.identity_known) earlier.identity_known = winfs::IdentityOf(earlier.path, &earlier.identity);
    if (earlier.identity_known && earlier.identity.SameFile(identity)) return true;
  }
  return false;
}

}  // namespace unlha
