// Writing a changed archive: the plan goes into a work file in the work
// directory, and only a complete work file replaces the archive. Any failure
// leaves the archive as it was and removes the work file.
#pragma once
#include <string>
#include <vector>

#include "archiver/dll/archive_access.h"
#include "archiver/dll/commands.h"
#include "archiver/lzh/archive_edit.h"

namespace unlha {

// `old` may be null (a new archive). `paths[i]` is the disk file of new item
// i. Returns true once the new archive is in place.
bool RewriteArchive(Job& job, LoadedArchive* old, const lzh::EditPlan& plan,
                    const std::vector<lzh::NewItem>& items, const std::vector<std::wstring>& paths);

}  // namespace unlha
