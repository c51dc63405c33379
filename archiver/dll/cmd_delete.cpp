// "d ARCHIVE name...": removes the entries the names select (full paths,
// without regard to case; wildcards and DIR\*.* allowed).
#include "archiver/dll/archive_rewrite.h"
#include "archiver/dll/entry_selection.h"
#include "archiver/dll/resource.h"

namespace unlha {

void RunDelete(Job& job) {
  const Command& command = job.command;
  LoadedArchive old;
  if (!LoadArchiveForUpdate(command.archive_path, &old, &job.report)) return;
  if (!old.Complete()) {
    ReportDamage(old, command.archive, &job.report);
    return;
  }
  if (command.names.empty()) {
    job.report.Fail(kErrCommandName, IDS_BAD_COMMAND, command.rest);
    return;
  }
  std::vector<bool> chosen;
  std::vector<std::string> unmatched;
  SelectEntries(command.names, old.entries, true, &chosen, &unmatched);
  for (const std::string& name : unmatched) job.report.Fail(kErrNotExist, IDS_NOTHING_MATCHED, name);

  std::vector<std::string> paths;
  for (size_t i = 0; i < old.entries.size(); ++i)
    if (chosen[i]) paths.push_back(old.entries[i].path);
  if (paths.empty()) return;
  lzh::EditPlan plan = lzh::PlanDelete(old.entries, paths);
  job.progress.SetName(command.archive);
  RewriteArchive(job, &old, plan, {}, {});
}

}  // namespace unlha
