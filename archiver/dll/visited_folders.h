// The folders a recursive walk has entered, known by what they are on disk
// (volume and file index) rather than by path: a link that leads back up the
// tree, or a second link to a folder already walked, names a folder entered
// before, and following it would store the same files again and again.
#pragma once
#include <cstdint>
#include <map>
#include <string>

#include "archiver/win/file_identity.h"

namespace unlha {

class VisitedFolders {
 public:
  // True the first time `folder` is entered; false for a folder entered
  // before under any path. `index` is its file index when the walk's
  // listing gave one (0: read it here). A folder whose identity cannot be
  // read counts as new (the walk then relies on the path-length limit).
  bool Enter(const std::wstring& folder, uint64_t index = 0);

 private:
  // Folders are told apart by file index, which is cheap to read; only
  // folders sharing one (on different volumes) are compared whole, with the
  // identity read when first needed.
  struct Entered {
    std::wstring path;
    winfs::FileIdentity identity;
    bool identity_known = false;
  };
  bool SameAsEarlier(const winfs::FileIdentity& identity, uint64_t index);

  std::multimap<uint64_t, Entered> seen_;  // by file index
};

}  // namespace unlha
