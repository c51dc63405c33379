// "t ARCHIVE [name...]": decodes the entries and checks their CRCs, writing
// nothing.
#include "archiver/dll/archive_access.h"
#include "archiver/dll/commands.h"
#include "archiver/dll/entry_record.h"
#include "archiver/dll/entry_selection.h"
#include "archiver/dll/resource.h"

namespace unlha {

void RunTest(Job& job) {
  LoadedArchive archive;
  if (!LoadArchive(job.command.archive_path, &archive, &job.report)) return;
  std::vector<bool> chosen;
  std::vector<std::string> unmatched;
  SelectEntries(job.command.names, archive.entries, true, &chosen, &unmatched);
  for (const std::string& name : unmatched) job.report.Fail(kErrNotExist, IDS_NOTHING_MATCHED, name);
  uint64_t total = 0, done = 0;
  for (size_t i = 0; i < archive.entries.size(); ++i)
    if (chosen[i]) total += archive.entries[i].original_size;
  job.progress.Begin(IDS_TESTING, total);
  for (size_t i = 0; i < archive.entries.size(); ++i) {
    const lzh::Header& header = archive.entries[i];
    if (!chosen[i] || header.IsDirectory()) continue;
    std::string name = DisplayName(header);
    job.progress.SetName(name);
    uint64_t base = done;
    lzh::Error error = archive.reader->Extract(header, nullptr, [&](uint64_t so_far, uint64_t) {
      return job.progress.Step(base + so_far);
    });
    done += header.original_size;
    if (error == lzh::Error::kCancelled) {
      job.report.Cancel();
      return;
    }
    ReportEntryError(error, archive, header, &job.report);
    job.output.Append((error == lzh::Error::kOk ? "OK     " : "ERROR  ") + name + "\r\n");
  }
  if (!archive.Complete()) ReportDamage(archive, job.command.archive, &job.report);
}

}  // namespace unlha
