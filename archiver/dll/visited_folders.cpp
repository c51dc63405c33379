#include "archiver/dll/visited_folders.h"

namespace unlha {

bool VisitedFolders::Enter(const std::wstring& folder) {
  winfs::FileIdentity identity;
  if (!winfs::IdentityOf(folder, &identity)) return true;
  return seen_.insert(identity).second;
}

}  // namespace unlha
