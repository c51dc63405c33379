// "x" (keeping directories) and "e" (without them): extraction under the
// destination only. Each file is written to a work file beside its target
// and moved over it when complete, so a damaged entry never replaces a good
// file on disk.
#include <cstring>
#include "archiver/win/link_guard.h"

#include "archiver/dll/archive_access.h"
#include "archiver/dll/commands.h"
#include "archiver/dll/entry_record.h"
#include "archiver/dll/entry_selection.h"
#include "archiver/dll/file_time.h"
#include "archiver/dll/resource.h"
#include "archiver/lzh/safe_path.h"

namespace unlha {

namespace {

// Absolute stored names (a drive, a leading separator) are refused outright
// rather than quietly made relative: the archive meant another place.
bool IsAbsoluteName(const std::string& path) {
  if (!path.empty() && (path[0] == '/' || path[0] == '\\')) return true;
  return path.size() >= 2 && path[1] == ':' && ((path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z');
}

// Characters Windows does not allow in names (a Unix archive may hold them)
// become '_'; trail bytes of double-byte characters are left alone.
void ReplaceInvalidCharacters(std::vector<std::string>* components) {
  for (std::string& component : *components) {
    for (size_t i = 0; i < component.size(); ++i) {
      unsigned char c = (unsigned char)component[i];
      if (lzh::IsCp932LeadByte(c) && i + 1 < component.size()) ++i;
      else if (strchr("*?\"<>|", c)) component[i] = '_';
    }
  }
}

bool IsBelow(const std::string& path, const std::string& directory) {
  std::string full = FullPath(path), base = WithSeparator(FullPath(directory));
  return full.size() > base.size() && CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, full.c_str(),
                                                      (int)base.size(), base.c_str(), (int)base.size()) == CSTR_EQUAL;
}

void ApplyAttributes(const std::string& target, const lzh::Header& header, bool restore) {
  DWORD attributes = FILE_ATTRIBUTE_ARCHIVE;
  // Read-only is left off: the caller's temporary copies must stay deletable.
  if (restore) attributes |= header.dos_attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  SetFileAttributesA(target.c_str(), attributes);
}

// Extracts one file entry to `target`. Returns false when the command must
// stop (cancelled).
bool ExtractFile(Job& job, LoadedArchive& archive, const lzh::Header& header, const std::string& target,
                 uint64_t* done, uint64_t total) {
  std::string name = DisplayName(header);
  std::string work = MakeWorkFile(ParentOf(target));
  std::unique_ptr<FileSink> sink = work.empty() ? nullptr : FileSink::Create(work);
  if (!sink) {
    if (!work.empty()) DeleteFileA(work.c_str());
    job.report.Fail(kErrCannotWrite, IDS_WRITE_FAILED, target);
    return true;
  }
  uint64_t base = *done;
  lzh::Error error = archive.reader->Extract(header, sink.get(), [&](uint64_t so_far, uint64_t) {
    return job.progress.Step(base + so_far);
  });
  *done = base + header.original_size;
  job.progress.Step(*done);
  if (error == lzh::Error::kOk && sink->Flush()) {
    FILETIME time = EntryFileTime(header);
    SetFileTime(sink->handle(), nullptr, nullptr, &time);
  }
  DWORD write_error = sink->LastError();
  bool closed = sink->Close();
  if (error == lzh::Error::kOk && !closed) error = lzh::Error::kWriteError;
  if (error != lzh::Error::kOk) {
    DeleteFileA(work.c_str());
    if (error == lzh::Error::kWriteError && (write_error == ERROR_DISK_FULL || write_error == ERROR_HANDLE_DISK_FULL))
      job.report.Fail(kErrDiskSpace, IDS_DISK_FULL, target);
    else if (error == lzh::Error::kWriteError)
      job.report.Fail(kErrCannotWrite, IDS_WRITE_FAILED, target);
    else
      ReportReadError(error, name, &job.report);
    return error != lzh::Error::kCancelled;
  }
  // An existing read-only file would refuse the replacement.
  DWORD old = GetFileAttributesA(target.c_str());
  if (old != INVALID_FILE_ATTRIBUTES && !(old & FILE_ATTRIBUTE_DIRECTORY) && (old & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesA(target.c_str(), old & ~FILE_ATTRIBUTE_READONLY);
  if (!MoveFileExA(work.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileA(work.c_str());
    job.report.Fail(kErrCannotWrite, IDS_WRITE_FAILED, target);
    return true;
  }
  ApplyAttributes(target, header, job.settings.restore_attributes);
  return true;
}

}  // namespace

void RunExtract(Job& job) {
  const Command& command = job.command;
  LoadedArchive archive;
  if (!LoadArchive(command.archive, &archive, &job.report)) return;

  std::vector<std::string> names = NamesFromText(command.rest, archive.entries);
  std::vector<bool> chosen;
  std::vector<std::string> unmatched;
  SelectEntries(names, archive.entries, command.full_paths || command.name == 'x', &chosen, &unmatched);
  for (const std::string& name : unmatched) job.report.Fail(kErrNotExist, IDS_NOTHING_MATCHED, name);

  bool keep_directories = command.name == 'x';
  std::string destination = command.destination.empty() ? std::string(".") : command.destination;
  destination = WithSeparator(FullPath(destination));
  if (!CreateDirectories(destination)) {
    job.report.Fail(kErrMakeDirectory, IDS_MAKE_DIR_FAILED, destination);
    return;
  }
  std::string resolved_destination = winfs::ResolvedPath(destination);

  uint64_t total = 0, done = 0;
  for (size_t i = 0; i < archive.entries.size(); ++i)
    if (chosen[i]) total += archive.entries[i].original_size;
  job.progress.Begin(IDS_EXTRACTING, total);

  for (size_t i = 0; i < archive.entries.size(); ++i) {
    if (!chosen[i]) continue;
    const lzh::Header& header = archive.entries[i];
    if ((header.IsDirectory() && !keep_directories) || IsDestinationItself(header)) continue;
    std::string name = DisplayName(header);
    std::vector<std::string> components;
    if (IsAbsoluteName(header.path) ||
        lzh::SafeRelativePath(header.path, &components) != lzh::PathVerdict::kOk || components.empty()) {
      job.report.Fail(kErrNotFileName, IDS_NAME_REFUSED, name);
      continue;
    }
    ReplaceInvalidCharacters(&components);
    std::string relative = keep_directories ? lzh::JoinPath(components, '\\') : components.back();
    std::string target = destination + relative;
    if (!IsBelow(target, destination) || !winfs::StaysBelow(target, resolved_destination)) {
      job.report.Fail(kErrNotFileName, IDS_NAME_REFUSED, name);
      continue;
    }
    job.progress.SetName(name);
    if (header.IsDirectory()) {
      if (!CreateDirectories(target)) job.report.Fail(kErrMakeDirectory, IDS_MAKE_DIR_FAILED, target);
      continue;
    }
    if (!CreateDirectories(ParentOf(target))) {
      job.report.Fail(kErrMakeDirectory, IDS_MAKE_DIR_FAILED, ParentOf(target));
      continue;
    }
    if (!ExtractFile(job, archive, header, target, &done, total)) return;
    if (job.progress.Cancelled()) {
      job.report.Cancel();
      return;
    }
  }
  if (!archive.Complete()) ReportReadError(archive.end, command.archive, &job.report);
}

}  // namespace unlha
