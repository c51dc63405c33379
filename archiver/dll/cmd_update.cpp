// "u" adds files and replaces entries whose file is newer, creating the
// archive when there is none; "m" does the same and then deletes the files
// that went in (only once the new archive has replaced the old one).
//   u -n  ARCHIVE file...      each file under its own name
//   u -r  ARCHIVE DIR\*.*      the folder's content, relative to DIR
//   u -rx ARCHIVE DIR\*.*      the same under DIR's own name
#include "archiver/dll/archive_rewrite.h"
#include "archiver/dll/disk_items.h"
#include "archiver/dll/resource.h"
#include "archiver/win/win_path.h"

namespace unlha {

namespace {

// Removes the files that went into the archive, then the folders that are
// empty now (deepest first). Folders taken whole by -r keep their root
// unless it went in under its own name.
void DeleteSources(Job& job, const DiskItems& disk, const std::vector<bool>& added) {
  std::vector<std::wstring> folders;
  for (size_t i = 0; i < disk.items.size(); ++i) {
    if (!added[i]) continue;
    if (disk.items[i].is_directory) {
      folders.push_back(disk.paths[i]);
      continue;
    }
    SetFileAttributesW(disk.paths[i].c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileW(disk.paths[i].c_str()))
      job.report.Fail(kErrCannotWrite, IDS_DELETE_SOURCE_FAILED, disk.paths[i]);
  }
  for (size_t i = folders.size(); i-- > 0;) RemoveDirectoryW(folders[i].c_str());
}

}  // namespace

void RunUpdate(Job& job) {
  const Command& command = job.command;
  std::wstring archive_path = winfs::FullPath(command.archive_path);
  LoadedArchive old;
  bool exists = winfs::FileExists(archive_path);
  if (exists) {
    if (!LoadArchive(archive_path, &old, &job.report)) return;
    if (!old.Complete()) {
      // Rewriting would drop whatever lies past the damage.
      ReportDamage(old, command.archive, &job.report);
      return;
    }
  }

  DiskItems disk;
  std::vector<std::wstring> skip = {archive_path};
  GatherDiskItems(command.names, command.recurse > 0, command.with_dir_name, skip, &disk);
  for (const std::string& name : disk.missing) job.report.Fail(kErrFileOpen, IDS_SOURCE_UNREADABLE, name);
  if (job.report.Failed()) return;
  if (disk.items.empty()) {
    job.report.Fail(kErrNotExist, IDS_NOTHING_MATCHED, command.rest);
    return;
  }

  std::vector<bool> added;
  lzh::EditPlan plan = lzh::PlanUpdate(old.entries, disk.items, true, &added);
  bool anything_new = false;
  for (bool a : added) anything_new = anything_new || a;
  if (!anything_new && exists) return;  // every entry is already up to date

  if (!RewriteArchive(job, exists ? &old : nullptr, plan, disk.items, disk.paths)) return;
  if (command.name == 'm') DeleteSources(job, disk, added);
}

}  // namespace unlha
