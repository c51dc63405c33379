// Renaming a folder of an archive: its own entry, when it has one, and the
// path of every entry below it.
#pragma once
#include <string>
#include <vector>

#include "archiver/lzh/archive_edit.h"

namespace unlha {

// The entries of the folder `listed` (as the listing names it, "DOC\\SUB"):
// its own entry and every entry below it, byte for byte.
std::vector<size_t> FolderMembers(const std::string& listed, const std::vector<lzh::Header>& entries);

// Puts the members of `listed` under `renamed` (stored form, "DOC/NEW");
// false when a renamed entry would take the name of an entry left alone.
bool PlanFolderRename(const std::vector<lzh::Header>& entries, const std::string& listed,
                      const std::string& renamed, lzh::EditPlan* plan);

}  // namespace unlha
