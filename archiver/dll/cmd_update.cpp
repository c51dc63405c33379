// "u" adds files and replaces entries whose file is newer, creating the
// archive when there is none; "m" does the same and then deletes the files
// that went in (only once the new archive has replaced the old one).
//   u -n  ARCHIVE file...      each file under its own name
//   u -r  ARCHIVE DIR\*.*      the folder's content, relative to DIR
//   u -rx ARCHIVE DIR\*.*      the same under DIR's own name
//   u -fDOC\SUB\ ...           any of these, every stored name put under DOC\SUB
#include "archiver/dll/archive_rewrite.h"
#include "archiver/dll/disk_items.h"
#include "archiver/dll/resource.h"
#include "archiver/lzh/cp932.h"
#include "archiver/lzh/safe_path.h"
#include "archiver/win/file_identity.h"
#include "archiver/win/wide_text.h"
#include "archiver/win/win_path.h"

namespace unlha {

namespace {

// Deletes one file that went into the archive as `item`, only if it is
// still what was read: same size, same last-write time. The file is held
// against writers from the check to the deletion.
void DeleteSource(Job& job, const std::wstring& path, const lzh::NewItem& item) {
  HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES | DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  winfs::FileIdentity now;
  bool unchanged = file != INVALID_HANDLE_VALUE && winfs::IdentityOf(file, &now) &&
                   now.size == item.info.original_size && now.write_time == item.info.win_modify;
  if (!unchanged) {
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    job.report.Fail(kErrCannotWrite, IDS_SOURCE_CHANGED, path);
    return;
  }
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  // Deleted once the last handle, ours, is closed.
  bool deleted = DeleteFileW(path.c_str()) != 0;
  CloseHandle(file);
  if (!deleted) {
    if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(path.c_str(), attributes);
    job.report.Fail(kErrCannotWrite, IDS_DELETE_SOURCE_FAILED, path);
  }
}

// Removes the files that went into the archive, then the folders that are
// empty now (deepest first). Folders taken whole by -r keep their root
// unless it went in under its own name.
void DeleteSources(Job& job, const DiskItems& disk, const std::vector<bool>& added) {
  std::vector<std::wstring> folders;
  for (size_t i = 0; i < disk.items.size(); ++i) {
    if (!added[i]) continue;
    if (disk.items[i].is_directory)
      folders.push_back(disk.paths[i]);
    else
      DeleteSource(job, disk.paths[i], disk.items[i]);
  }
  for (size_t i = folders.size(); i-- > 0;) RemoveDirectoryW(folders[i].c_str());
}

// The -f folder in stored form ("DOC/SUB/", "" for none), or false when it is
// not one that extracts as written: a drive, a leading separator, a ".." or a
// character no name may hold.
bool StoredFolder(const std::string& folder, std::string* out) {
  out->clear();
  std::string slashed;
  for (size_t i = 0; i < folder.size(); ++i) {
    bool pair = lzh::IsCp932LeadByte((unsigned char)folder[i]) && i + 1 < folder.size();
    slashed += folder[i] == '\\' && !pair ? '/' : folder[i];
    if (pair) slashed += folder[++i];
  }
  while (!slashed.empty() && slashed.back() == '/') slashed.pop_back();
  if (slashed.empty()) return folder.empty();
  if (slashed.find_first_of("*?\"<>|") != std::string::npos) return false;
  std::vector<std::string> components;
  if (lzh::SafeRelativePath(slashed, &components) != lzh::PathVerdict::kOk) return false;
  if (lzh::JoinPath(components, '/') != slashed) return false;  // something was stripped
  *out = slashed + "/";
  return true;
}

// Puts every gathered name under the stored folder; an exact Unicode folder
// name, where an item has one, gets the folder in front too.
void PutUnder(const std::string& folder, std::vector<lzh::NewItem>* items) {
  if (folder.empty()) return;
  std::string exact = winfs::Narrow(winfs::Widen(folder, winfs::kCp932), CP_UTF8);
  for (lzh::NewItem& item : *items) {
    item.info.path = folder + item.info.path;
    if (!item.info.unicode_dir.empty()) item.info.unicode_dir = exact + item.info.unicode_dir;
  }
}

}  // namespace

void RunUpdate(Job& job) {
  const Command& command = job.command;
  std::wstring archive_path = winfs::FullPath(command.archive_path);
  LoadedArchive old;
  bool exists = winfs::FileExists(archive_path);
  if (exists) {
    if (!LoadArchiveForUpdate(archive_path, &old, &job.report)) return;
    if (!old.Complete()) {
      // Rewriting would drop whatever lies past the damage.
      ReportDamage(old, command.archive, &job.report);
      return;
    }
  }

  DiskItems disk;
  GatherOptions gather;
  std::string folder;
  if (!StoredFolder(command.folder, &folder)) {
    job.report.Fail(kErrCommandName, IDS_BAD_COMMAND, command.folder);
    return;
  }
  gather.recursive = command.recurse > 0;
  gather.with_folder_name = command.with_dir_name;
  gather.follow_links = command.name != 'm';
  // The archive is never a source, however the names reach it.
  if (exists && old.identity_known) gather.skip.push_back(old.identity);
  GatherDiskItems(command.names, gather, &disk);
  PutUnder(folder, &disk.items);
  for (const std::string& name : disk.missing) job.report.Fail(kErrFileOpen, IDS_SOURCE_UNREADABLE, name);
  if (job.report.Failed()) return;
  for (const std::wstring& link : disk.links) job.report.Fail(kErrCannotWrite, IDS_LINK_NOT_MOVED, link);
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
