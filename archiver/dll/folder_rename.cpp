#include "archiver/dll/folder_rename.h"

#include <windows.h>

#include <unordered_set>

#include "archiver/dll/entry_record.h"
#include "archiver/lzh/cp932.h"
#include "archiver/lzh/stored_name.h"
#include "archiver/win/wide_text.h"

namespace unlha {

namespace {

// Components of a '/'-separated path; a CP932 trail byte never splits one.
size_t CountComponents(const std::string& listed) {
  size_t count = listed.empty() ? 0 : 1;
  for (size_t i = 0; i < listed.size(); ++i) {
    if (lzh::IsCp932LeadByte((unsigned char)listed[i]) && i + 1 < listed.size()) ++i;
    else if (listed[i] == '\\') ++count;
  }
  return count;
}

// `path` with its first `count` components replaced by `replacement`; the
// path unchanged when it has fewer.
std::string ReplaceLeading(const std::string& path, size_t count, const std::string& replacement, bool cp932) {
  size_t seen = 0, i = 0;
  for (; i < path.size() && seen < count; ++i) {
    if (cp932 && lzh::IsCp932LeadByte((unsigned char)path[i]) && i + 1 < path.size()) ++i;
    else if (path[i] == '/') ++seen;
  }
  if (seen < count && !(i == path.size() && seen + 1 == count)) return path;
  return replacement + (i < path.size() || seen == count ? "/" : "") + path.substr(i);
}

}  // namespace

std::vector<size_t> FolderMembers(const std::string& listed, const std::vector<lzh::Header>& entries) {
  std::vector<size_t> members;
  if (listed.empty()) return members;
  for (size_t i = 0; i < entries.size(); ++i) {
    std::string name = DisplayName(entries[i]);
    if (!name.empty() && name.back() == '\\') name.pop_back();
    if (name == listed || (name.size() > listed.size() && name.compare(0, listed.size(), listed) == 0 &&
                           name[listed.size()] == '\\'))
      members.push_back(i);
  }
  return members;
}

bool PlanFolderRename(const std::vector<lzh::Header>& entries, const std::string& listed,
                      const std::string& renamed, lzh::EditPlan* plan) {
  plan->clear();
  std::vector<size_t> members = FolderMembers(listed, entries);
  if (members.empty()) return false;
  std::vector<bool> moved(entries.size(), false);
  for (size_t i : members) moved[i] = true;
  std::unordered_set<std::string> kept;
  for (size_t i = 0; i < entries.size(); ++i)
    if (!moved[i]) kept.insert(lzh::StoredNameKey(entries[i].path));

  size_t count = CountComponents(listed);
  std::string renamed_utf8 = winfs::Narrow(winfs::Widen(renamed, winfs::kCp932), CP_UTF8);
  for (size_t i = 0; i < entries.size(); ++i) {
    lzh::EditItem item;
    item.old_index = i;
    if (moved[i]) {
      // Names beyond the folder keep their exact spelling; the folder's own
      // part is the new name, in the encoding each field is in.
      item.kind = lzh::EditItem::kCopyRenamed;
      item.header = entries[i];
      lzh::Header& header = item.header;
      header.path = ReplaceLeading(header.path, count, header.utf8_path ? renamed_utf8 : renamed, !header.utf8_path);
      if (!header.unicode_dir.empty()) header.unicode_dir = ReplaceLeading(header.unicode_dir, count, renamed_utf8, false);
      if (header.IsDirectory() && (header.path.empty() || header.path.back() != '/')) header.path += '/';
      if (header.level > 2) header.level = 2;
      if (kept.count(lzh::StoredNameKey(header.path))) return false;
    }
    plan->push_back(item);
  }
  return true;
}

}  // namespace unlha
