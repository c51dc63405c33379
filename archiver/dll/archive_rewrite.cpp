#include "archiver/dll/archive_rewrite.h"

#include "archiver/win/entry_extract.h"
#include "archiver/win/entry_time.h"
#include "archiver/win/file_identity.h"
#include "archiver/win/wide_text.h"
#include "archiver/win/win_path.h"
#include "archiver/dll/resource.h"
#include "archiver/dll/work_scratch.h"
#include "archiver/lzh/header_reader.h"

namespace unlha {

namespace {

// Copies the program in front of a self-extracting archive.
bool CopyPrefix(LoadedArchive* old, winfs::FileSink* sink) {
  uint64_t offset = old ? old->reader->archive_offset() : 0;
  std::vector<uint8_t> buffer(1 << 16);
  for (uint64_t at = 0; at < offset;) {
    size_t chunk = (size_t)std::min<uint64_t>(buffer.size(), offset - at);
    if (old->source->ReadAt(at, buffer.data(), chunk) != chunk) return false;
    if (!sink->Write(buffer.data(), chunk)) return false;
    at += chunk;
  }
  return true;
}

void SetArchiveTimeToNewest(const std::wstring& archive, const lzh::EditPlan& plan,
                            const std::vector<lzh::Header>& old_entries,
                            const std::vector<lzh::NewItem>& items) {
  uint64_t newest = 0;
  for (const lzh::EditItem& item : plan) {
    const lzh::Header& header = (item.kind == lzh::EditItem::kCopy || item.kind == lzh::EditItem::kCopyRenamed)
                                    ? old_entries[item.old_index]
                                    : items[item.new_index].info;
    FILETIME time;
    if (winfs::EntryFileTime(header, &time)) newest = std::max(newest, winfs::FileTimeValue(time));
  }
  if (!newest) return;
  HANDLE file = CreateFileW(archive.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  FILETIME time = {(DWORD)newest, (DWORD)(newest >> 32)};
  SetFileTime(file, nullptr, nullptr, &time);
  CloseHandle(file);
}

// Whether the archive is still the file that was read (or still absent when
// there was none): another writer, in another session or on another machine,
// may have replaced it meanwhile, and its work must not be overwritten.
bool StillAsRead(const std::wstring& archive, const LoadedArchive* old) {
  winfs::FileIdentity now;
  bool readable = winfs::IdentityOf(archive, &now);
  if (!old) return !readable && GetFileAttributesW(archive.c_str()) == INVALID_FILE_ATTRIBUTES;
  if (old->identity_known) return readable && now.Unchanged(old->identity);
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(archive.c_str(), GetFileExInfoStandard, &data)) return false;
  uint64_t size = ((uint64_t)data.nFileSizeHigh << 32) | data.nFileSizeLow;
  uint64_t written = ((uint64_t)data.ftLastWriteTime.dwHighDateTime << 32) | data.ftLastWriteTime.dwLowDateTime;
  return size == old->identity.size && written == old->identity.write_time;
}

// Threads that compress new files: one per processor, or UNLHA32_THREADS
// (a number) when set, so a test can choose.
unsigned CompressionThreadsWanted() {
  wchar_t text[16];
  DWORD length = GetEnvironmentVariableW(L"UNLHA32_THREADS", text, 16);
  int wanted = length > 0 && length < 16 ? _wtoi(text) : 0;
  if (wanted > 0) return (unsigned)wanted;
  SYSTEM_INFO system;
  GetSystemInfo(&system);
  return system.dwNumberOfProcessors ? system.dwNumberOfProcessors : 1;
}

}  // namespace

bool RewriteArchive(Job& job, LoadedArchive* old, const lzh::EditPlan& plan,
                    const std::vector<lzh::NewItem>& items, const std::vector<std::wstring>& paths) {
  const std::wstring& archive = job.command.archive_path;
  std::wstring work;
  std::unique_ptr<winfs::FileSink> sink = winfs::FileSink::CreateWork(WorkDirectory(job), 0, &work);
  if (!sink) {
    job.report.Fail(kErrTmpOpen, IDS_WORK_FILE_FAILED, WorkDirectory(job));
    return false;
  }

  uint64_t total = 0;
  for (const lzh::EditItem& item : plan)
    if (item.kind == lzh::EditItem::kAddFile) total += items[item.new_index].info.original_size;
  job.progress.Begin(total ? IDS_ADDING : IDS_WRITING, total);

  lzh::OpenItemFn open_item = [&](size_t index) -> std::unique_ptr<lzh::ByteSource> {
    std::unique_ptr<winfs::FileSource> file = winfs::FileSource::Open(paths[index]);
    if (file && file->Size() != items[index].info.original_size) {
      // The file changed since it was listed: the header would lie.
      file.reset();
    }
    return std::unique_ptr<lzh::ByteSource>(file.release());
  };
  lzh::EditOptions options;
  options.writer.header_level = (uint8_t)job.settings.header_level;
  options.writer.method = job.settings.MethodText();
  options.writer.parse = job.settings.best_compression ? lzh::ParseMode::kOptimal : lzh::ParseMode::kLazy;
  options.writer.progress = [&](uint64_t done) { return job.progress.Step(done); };
  options.threads = CompressionThreadsWanted();
  options.scratch = WorkScratchFactory(WorkDirectory(job));
  options.item_started = [&](size_t index) { job.progress.SetName(winfs::Narrow(paths[index])); };
  size_t failed_item = SIZE_MAX;

  lzh::WriteStatus status = lzh::WriteStatus::kOk;
  if (!CopyPrefix(old, sink.get())) status = lzh::WriteStatus::kWriteFailed;
  if (status == lzh::WriteStatus::kOk) {
    static const std::vector<lzh::Header> kNoEntries;
    status = lzh::RunEditPlan(plan, old ? old->source.get() : nullptr, old ? old->entries : kNoEntries, items,
                              open_item, *sink, options, &failed_item);
  }
  bool closed = sink->Close();
  DWORD write_error = sink->LastError();  // after Close: its flush may have failed
  if (status == lzh::WriteStatus::kOk && !closed) status = lzh::WriteStatus::kWriteFailed;
  if (status != lzh::WriteStatus::kOk) {
    DeleteFileW(work.c_str());
    std::string failed_name = failed_item < paths.size() ? winfs::Narrow(paths[failed_item]) : std::string();
    switch (status) {
      case lzh::WriteStatus::kReadFailed:
        if (failed_name.empty() || (old && old->source->Failed()))
          job.report.Fail(kErrCannotRead, IDS_SOURCE_UNREADABLE, old ? winfs::Narrow(archive) : failed_name);
        else
          job.report.Fail(kErrFileOpen, IDS_SOURCE_UNREADABLE, failed_name);
        break;
      case lzh::WriteStatus::kCancelled: job.report.Cancel(); break;
      case lzh::WriteStatus::kBadHeader: job.report.Fail(kErrNotFileName, IDS_BAD_NEW_NAME, failed_name); break;
      default:
        if (winfs::IsDiskFull(write_error))
          job.report.Fail(kErrDiskSpace, IDS_DISK_FULL, work);
        else
          job.report.Fail(kErrCannotWrite, IDS_WRITE_FAILED, work);
        break;
    }
    return false;
  }
  if (job.progress.Cancelled()) {
    DeleteFileW(work.c_str());
    job.report.Cancel();
    return false;
  }
  // The reader's handle must be gone before the old file can be replaced.
  std::vector<lzh::Header> old_entries;
  if (old) {
    old_entries = old->entries;
    old->reader.reset();
    old->source.reset();
  }
  if (!StillAsRead(archive, old)) {
    DeleteFileW(work.c_str());
    job.report.Fail(kErrTmpCopy, IDS_ARCHIVE_CHANGED, archive);
    return false;
  }
  if (!winfs::ReplaceWith(work, archive)) {
    job.report.Fail(kErrTmpCopy, IDS_REPLACE_FAILED, archive);
    return false;
  }
  if (job.settings.archive_time_newest) SetArchiveTimeToNewest(archive, plan, old_entries, items);
  return true;
}

}  // namespace unlha
