// "x" (keeping directories) and "e" (without them): extraction under the
// destination only, through the extraction core the self-extractors share.
// Each file is written to a work file beside its target and moved over it
// when complete, so a damaged entry never replaces a good file on disk. A
// file already there is replaced only after the question (Yes, No, All,
// Cancel), or with -o.
#include "archiver/dll/archive_access.h"
#include "archiver/dll/commands.h"
#include "archiver/dll/entry_record.h"
#include "archiver/dll/entry_selection.h"
#include "archiver/dll/resource.h"
#include "archiver/win/entry_extract.h"
#include "archiver/win/win_path.h"

namespace unlha {

namespace {

// Read-only is left off: the caller's temporary copies must stay deletable.
DWORD AttributesFor(const lzh::Header& header, bool restore) {
  DWORD attributes = FILE_ATTRIBUTE_ARCHIVE;
  if (restore) attributes |= header.dos_attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  return attributes;
}

// The question, owned by the progress window while that shows (which keeps
// the caller's window disabled), else by the caller's window.
class Question : public winfs::OverwriteChoice {
 public:
  explicit Question(Job& job)
      : OverwriteChoice(job.command.overwrite ? winfs::OverwritePolicy::kAlways : winfs::OverwritePolicy::kAsk),
        job_(job) {}

 private:
  winfs::OverwriteAnswer Ask(const std::wstring& path, const lzh::Header& entry) override {
    HWND owner = job_.progress.window() ? job_.progress.window() : job_.owner;
    return winfs::AskOverwrite(ModuleInstance(), owner, DisplayName(entry), path, entry);
  }
  Job& job_;
};

// Extracts one file entry to `target`. Returns false when the command must
// stop (cancelled).
bool ExtractFile(Job& job, LoadedArchive& archive, const lzh::Header& header, const std::wstring& target,
                 Question* existing, uint64_t* done) {
  uint64_t base = *done;
  DWORD write_error = 0;
  lzh::Error error = winfs::WriteEntryFile(
      archive.reader.get(), header, target, AttributesFor(header, job.settings.restore_attributes),
      [&](uint64_t so_far, uint64_t) { return job.progress.Step(base + so_far); }, &write_error, existing);
  *done = base + header.original_size;
  job.progress.Step(*done);
  if (error == lzh::Error::kWriteError)
    job.report.Fail(winfs::IsDiskFull(write_error) ? kErrDiskSpace : kErrCannotWrite,
                    winfs::IsDiskFull(write_error) ? IDS_DISK_FULL : IDS_WRITE_FAILED, target);
  else
    ReportEntryError(error, archive, header, &job.report);
  return error != lzh::Error::kCancelled;
}

}  // namespace

void RunExtract(Job& job) {
  const Command& command = job.command;
  LoadedArchive archive;
  if (!LoadArchive(command.archive_path, &archive, &job.report)) return;

  std::vector<std::string> names = NamesFromText(command.rest, archive.entries);
  std::vector<bool> chosen;
  std::vector<std::string> unmatched;
  SelectEntries(names, archive.entries, command.full_paths || command.name == 'x', &chosen, &unmatched);
  for (const std::string& name : unmatched) job.report.Fail(kErrNotExist, IDS_NOTHING_MATCHED, name);

  bool keep_directories = command.name == 'x';
  winfs::Destination destination;
  DWORD error = 0;
  if (!destination.Prepare(command.destination_path, &error)) {
    job.report.Fail(kErrMakeDirectory, IDS_MAKE_DIR_FAILED, winfs::FullPath(command.destination_path));
    return;
  }

  Question existing(job);
  uint64_t total = 0, done = 0;
  for (size_t i = 0; i < archive.entries.size(); ++i)
    if (chosen[i]) total += archive.entries[i].original_size;
  job.progress.Begin(IDS_EXTRACTING, total);

  for (size_t i = 0; i < archive.entries.size(); ++i) {
    if (!chosen[i]) continue;
    const lzh::Header& header = archive.entries[i];
    if (header.IsDirectory() && !keep_directories) continue;
    std::string name = DisplayName(header);
    if (header.IsLink()) {  // Windows has no use for a Unix link: said, not made
      job.report.Fail(kErrNotSupport, IDS_LINK_SKIPPED, name + " -> " + header.link_target);
      continue;
    }
    std::wstring target;
    lzh::PathVerdict verdict = destination.Target(header, keep_directories, &target);
    if (verdict == lzh::PathVerdict::kEmpty && header.IsDirectory()) continue;  // "./": the destination itself
    if (verdict != lzh::PathVerdict::kOk) {
      job.report.Fail(kErrNotFileName, IDS_NAME_REFUSED, name);
      continue;
    }
    job.progress.SetName(name);
    if (header.IsDirectory()) {
      if (!destination.MakeFolders(target, nullptr)) job.report.Fail(kErrMakeDirectory, IDS_MAKE_DIR_FAILED, target);
      continue;
    }
    if (!destination.MakeFolders(winfs::ParentOf(target), nullptr)) {
      job.report.Fail(kErrMakeDirectory, IDS_MAKE_DIR_FAILED, winfs::ParentOf(target));
      continue;
    }
    if (!ExtractFile(job, archive, header, target, &existing, &done)) return;
    if (job.progress.Cancelled()) {
      job.report.Cancel();
      return;
    }
  }
  if (!archive.Complete()) ReportDamage(archive, command.archive, &job.report);
}

}  // namespace unlha
