// "n ARCHIVE NAME": asks for the entry's new name in the library's dialog
// and rewrites the archive with that entry renamed. Cancel changes nothing.
// A folder (its own entry, or only the paths of entries below it) is renamed
// with everything below it.
#include "archiver/dll/archive_rewrite.h"
#include "archiver/dll/entry_record.h"
#include "archiver/dll/entry_selection.h"
#include "archiver/dll/folder_rename.h"
#include "archiver/dll/rename_dialog.h"
#include "archiver/dll/resource.h"
#include "archiver/lzh/cp932.h"
#include "archiver/lzh/safe_path.h"

namespace unlha {

namespace {

// The typed name in stored form, or "" when it is not a usable entry name.
std::string StoredName(const std::string& typed, bool directory) {
  std::string text = typed;
  while (!text.empty() && (text.back() == ' ' || lzh::EndsWithSeparator(text))) text.pop_back();
  while (!text.empty() && text[0] == ' ') text.erase(0, 1);
  if (text.empty() || text.find_first_of("*?\"<>|") != std::string::npos) return std::string();
  std::vector<std::string> components;
  if (lzh::SafeRelativePath(text, &components) != lzh::PathVerdict::kOk) return std::string();
  std::string stored = lzh::JoinPath(components, '/');
  // Anything the safe mapping had to strip (a drive, a leading separator)
  // means the name is not what the user will get.
  std::string expected = FoldName(text);
  if (FoldName(stored) != expected) return std::string();
  if (directory) stored += '/';
  return stored;
}

// The folder part of a shown name ("DOC\\" of "DOC\\A.TXT"), "" at the root.
std::string FolderOf(const std::string& shown) {
  size_t end = 0;
  for (size_t i = 0; i < shown.size(); ++i) {
    if (lzh::IsCp932LeadByte((unsigned char)shown[i]) && i + 1 < shown.size()) ++i;
    else if (shown[i] == '\\' || shown[i] == '/') end = i + 1;
  }
  return shown.substr(0, end);
}

}  // namespace

void RunRename(Job& job) {
  const Command& command = job.command;
  LoadedArchive old;
  if (!LoadArchiveForUpdate(command.archive_path, &old, &job.report)) return;
  if (!old.Complete()) {
    ReportDamage(old, command.archive, &job.report);
    return;
  }
  // The text as it stands (unquoted, blanks and all), else its one quoted
  // name.
  std::string wanted = command.rest;
  size_t index = FindEntry(wanted, old.entries);
  if (index == old.entries.size() && command.names.size() == 1) {
    wanted = command.names[0];
    index = FindEntry(wanted, old.entries);
  }
  // A folder that has no entry of its own is named by the entries below it.
  bool folder_only = false;
  if (index == old.entries.size()) {
    for (const std::string& name : {command.rest, command.names.size() == 1 ? command.names[0] : std::string()}) {
      if (folder_only || name.empty() || FolderMembers(name, old.entries).empty()) continue;
      wanted = name;
      folder_only = true;
    }
  }
  if (index == old.entries.size() && !folder_only) {
    job.report.Fail(kErrNotExist, IDS_NOTHING_MATCHED, wanted);
    return;
  }
  bool is_folder = folder_only || old.entries[index].IsDirectory();
  std::string shown = folder_only ? wanted : DisplayName(old.entries[index]);
  if (is_folder && !shown.empty() && shown.back() == '\\') shown.pop_back();

  // A name typed without a folder stays in the entry's folder; one with a
  // folder is taken from the archive's root.
  std::string folder = FolderOf(shown);
  std::string stored;
  lzh::EditPlan plan;
  // What the entry is called now, in the stored form the check compares.
  std::string current = folder_only ? StoredName(shown, true) : old.entries[index].path;
  NameCheck check = [&](const std::string& typed) -> UINT {
    stored = StoredName(FolderOf(typed).empty() ? folder + typed : typed, is_folder);
    if (stored.empty()) return IDS_BAD_NEW_NAME;
    if (stored == current) return 0;  // unchanged
    plan = lzh::EditPlan();
    if (is_folder) return PlanFolderRename(old.entries, shown, stored.substr(0, stored.size() - 1), &plan) ? 0 : IDS_NAME_TAKEN;
    return lzh::PlanRename(old.entries, index, stored, &plan) ? 0 : IDS_NAME_TAKEN;
  };
  job.progress.Close();
  std::string typed;
  if (!AskNewName(job.owner, shown, shown.substr(folder.size()), check, &typed)) {
    job.report.Cancel();
    return;
  }
  if (stored == current) return;
  RewriteArchive(job, &old, plan, {}, {});
}

}  // namespace unlha
