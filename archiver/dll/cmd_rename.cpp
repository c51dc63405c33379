// "n ARCHIVE NAME": asks for the entry's new name in the library's dialog
// and rewrites the archive with that entry renamed. Cancel changes nothing.
#include "archiver/dll/archive_rewrite.h"
#include "archiver/dll/entry_record.h"
#include "archiver/dll/entry_selection.h"
#include "archiver/dll/rename_dialog.h"
#include "archiver/dll/resource.h"
#include "archiver/lzh/safe_path.h"

namespace unlha {

namespace {

// The typed name in stored form, or "" when it is not a usable entry name.
std::string StoredName(const std::string& typed, bool directory) {
  std::string text = typed;
  while (!text.empty() && (text.back() == ' ' || text.back() == '\\' || text.back() == '/')) text.pop_back();
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

}  // namespace

void RunRename(Job& job) {
  const Command& command = job.command;
  LoadedArchive old;
  if (!LoadArchive(command.archive_path, &old, &job.report)) return;
  if (!old.Complete()) {
    ReportReadError(old.end, command.archive, &job.report);
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
  if (index == old.entries.size()) {
    job.report.Fail(kErrNotExist, IDS_NOTHING_MATCHED, wanted);
    return;
  }
  const lzh::Header& entry = old.entries[index];
  std::string shown = DisplayName(entry);
  if (entry.IsDirectory() && !shown.empty() && shown.back() == '\\') shown.pop_back();

  job.progress.Close();
  std::string typed;
  if (!AskNewName(job.owner, shown, &typed)) {
    job.report.Cancel();
    return;
  }
  std::string stored = StoredName(typed, entry.IsDirectory());
  if (stored.empty()) {
    job.report.Fail(kErrNotFileName, IDS_BAD_NEW_NAME, typed);
    return;
  }
  if (stored == entry.path) return;  // unchanged
  lzh::EditPlan plan;
  if (!lzh::PlanRename(old.entries, index, stored, &plan)) {
    job.report.Fail(kErrSameNameFile, IDS_NAME_TAKEN, typed);
    return;
  }
  RewriteArchive(job, &old, plan, {}, {});
}

}  // namespace unlha
