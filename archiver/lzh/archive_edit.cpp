#include "archiver/lzh/archive_edit.h"

#include <unordered_map>

#include "archiver/lzh/header_reader.h"
#include "archiver/lzh/stored_name.h"

namespace lzh {
namespace {

uint32_t DosTimeOf(const Header& h) {
  if (h.dos_time != 0 || !h.has_unix_time) return h.dos_time;
  return UnixToDosTime(h.unix_time);
}

}  // namespace

bool IsNewerThan(const Header& disk, const Header& entry) {
  if (disk.has_unix_time && entry.has_unix_time) return disk.unix_time > entry.unix_time;
  return DosTimeOf(disk) > DosTimeOf(entry);
}

EditPlan PlanUpdate(const std::vector<Header>& old_entries, const std::vector<NewItem>& items,
                    bool only_newer, std::vector<bool>* added) {
  EditPlan plan;
  std::unordered_map<std::string, size_t> where;  // folded name -> plan index
  for (size_t i = 0; i < old_entries.size(); i++) {
    EditItem item;
    item.kind = EditItem::kCopy;
    item.old_index = i;
    where.emplace(EntryNameKey(old_entries[i]), plan.size());
    plan.push_back(item);
  }
  if (added) added->assign(items.size(), false);
  for (size_t j = 0; j < items.size(); j++) {
    const NewItem& item = items[j];
    std::string key = EntryNameKey(item.info);
    if (key.empty()) continue;
    auto found = where.find(key);
    if (found != where.end()) {
      EditItem& slot = plan[found->second];
      if (item.is_directory) continue;  // the entry is there already
      const Header& current = slot.kind == EditItem::kCopy ? old_entries[slot.old_index]
                                                           : items[slot.new_index].info;
      if (only_newer && !IsNewerThan(item.info, current)) continue;
      slot.kind = EditItem::kAddFile;
      slot.new_index = j;
      if (added) (*added)[j] = true;
      continue;
    }
    EditItem add;
    add.kind = item.is_directory ? EditItem::kAddDirectory : EditItem::kAddFile;
    add.new_index = j;
    where.emplace(key, plan.size());
    plan.push_back(add);
    if (added) (*added)[j] = true;
  }
  return plan;
}

EditPlan PlanDelete(const std::vector<Header>& old_entries, const std::vector<std::string>& paths,
                    std::vector<bool>* matched) {
  std::unordered_map<std::string, size_t> wanted;
  for (size_t i = 0; i < paths.size(); i++) wanted.emplace(StoredNameKey(paths[i]), i);
  if (matched) matched->assign(paths.size(), false);
  EditPlan plan;
  for (size_t i = 0; i < old_entries.size(); i++) {
    auto found = wanted.find(StoredNameKey(old_entries[i].path));
    if (found != wanted.end()) {
      if (matched) {
        // Every request naming this entry counts as matched.
        for (size_t k = 0; k < paths.size(); k++)
          if (StoredNameKey(paths[k]) == found->first) (*matched)[k] = true;
      }
      continue;
    }
    EditItem keep;
    keep.kind = EditItem::kCopy;
    keep.old_index = i;
    plan.push_back(keep);
  }
  return plan;
}

EditPlan PlanDelete(const std::vector<bool>& chosen) {
  EditPlan plan;
  for (size_t i = 0; i < chosen.size(); i++) {
    if (chosen[i]) continue;
    EditItem keep;
    keep.kind = EditItem::kCopy;
    keep.old_index = i;
    plan.push_back(keep);
  }
  return plan;
}

bool PlanRename(const std::vector<Header>& old_entries, size_t index, const std::string& new_path,
                EditPlan* plan) {
  plan->clear();
  if (index >= old_entries.size()) return false;
  std::string key = StoredNameKey(new_path);
  if (key.empty()) return false;
  for (size_t i = 0; i < old_entries.size(); i++)
    if (i != index && StoredNameKey(old_entries[i].path) == key) return false;
  for (size_t i = 0; i < old_entries.size(); i++) {
    EditItem item;
    item.old_index = i;
    item.kind = EditItem::kCopy;
    if (i == index) {
      item.kind = EditItem::kCopyRenamed;
      item.header = old_entries[i];
      item.header.path = new_path;
      item.header.unicode_name.clear();  // the exact name was the old one's
      item.header.unicode_dir.clear();
      if (item.header.IsDirectory() && item.header.path.back() != '/') item.header.path += '/';
      if (item.header.level > 2) item.header.level = 2;
    }
    plan->push_back(item);
  }
  return true;
}

WriteStatus RunEditPlan(const EditPlan& plan, ByteSource* old_archive,
                        const std::vector<Header>& old_entries, const std::vector<NewItem>& items,
                        const OpenItemFn& open_item, ArchiveSink& sink, const WriterOptions& options) {
  EditOptions edit;
  edit.writer = options;
  return RunEditPlan(plan, old_archive, old_entries, items, open_item, sink, edit);
}

}  // namespace lzh
