// "s ARCHIVE": writes ARCHIVE.exe, a self-extracting program followed by the
// archive's bytes. -gw1/-jw1 choose the windowed program, -jw0 -gw0 the
// console one. An existing ARCHIVE.exe is replaced only with -o.
#include "archiver/dll/archive_access.h"
#include "archiver/dll/commands.h"
#include "archiver/dll/resource.h"
#include "archiver/win/entry_extract.h"
#include "archiver/win/wide_text.h"
#include "archiver/win/win_path.h"

namespace unlha {

namespace {

// The embedded program; false when this build has none.
bool LoadStub(bool windowed, const uint8_t** bytes, size_t* size) {
  HINSTANCE module = ModuleInstance();
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(windowed ? IDR_SFX_GUI : IDR_SFX_CONSOLE),
                              MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (!found) return false;
  HGLOBAL loaded = LoadResource(module, found);
  *size = SizeofResource(module, found);
  *bytes = loaded ? (const uint8_t*)LockResource(loaded) : nullptr;
  return *bytes && *size;
}

std::wstring ExeName(const std::wstring& archive) {
  std::wstring base = winfs::BaseName(archive);
  size_t dot = base.rfind(L'.');
  return archive.substr(0, archive.size() - base.size()) + (dot == std::wstring::npos ? base : base.substr(0, dot)) +
         L".exe";
}

}  // namespace

void RunMakeSfx(Job& job) {
  const Command& command = job.command;
  LoadedArchive archive;
  if (!LoadArchive(command.archive_path, &archive, &job.report)) return;
  if (!archive.Complete()) {
    ReportDamage(archive, command.archive, &job.report);
    return;
  }
  std::wstring target = ExeName(winfs::FullPath(command.archive_path));
  if (lstrcmpiW(target.c_str(), winfs::FullPath(command.archive_path).c_str()) == 0) {
    job.report.Fail(kErrCommandName, IDS_ALREADY_SFX, command.archive);
    return;
  }
  // A file of that name may be anything of the user's: replaced only when
  // the caller says so (after asking).
  if (!command.overwrite && GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
    job.report.Fail(kErrSameNameFile, IDS_SFX_EXISTS, target);
    return;
  }
  const uint8_t* stub = nullptr;
  size_t stub_size = 0;
  if (!LoadStub(command.sfx_window != 0, &stub, &stub_size)) {
    job.report.Fail(kErrNotSupport, IDS_NO_STUB);
    return;
  }

  std::wstring work;
  std::unique_ptr<winfs::FileSink> sink = winfs::FileSink::CreateWork(WorkDirectory(job), 0, &work);
  if (!sink) {
    job.report.Fail(kErrTmpOpen, IDS_WORK_FILE_FAILED, WorkDirectory(job));
    return;
  }
  uint64_t from = archive.reader->archive_offset();
  uint64_t total = archive.source->Size() - from;
  job.progress.Begin(IDS_WRITING, total);
  job.progress.SetName(winfs::Narrow(target));
  bool ok = sink->Write(stub, stub_size);
  std::vector<uint8_t> buffer(1 << 16);
  for (uint64_t at = from; ok && at < archive.source->Size();) {
    size_t chunk = (size_t)std::min<uint64_t>(buffer.size(), archive.source->Size() - at);
    if (archive.source->ReadAt(at, buffer.data(), chunk) != chunk) {
      job.report.Fail(kErrCannotRead, IDS_SOURCE_UNREADABLE, command.archive);
      ok = false;
      break;
    }
    ok = sink->Write(buffer.data(), chunk);
    at += chunk;
    if (ok && !job.progress.Step(at - from)) {
      job.report.Cancel();
      ok = false;
    }
  }
  bool closed = sink->Close();
  DWORD write_error = sink->LastError();  // after Close: its flush may have failed
  if (!ok || !closed) {
    DeleteFileW(work.c_str());
    if (!job.report.Failed())
      job.report.Fail(winfs::IsDiskFull(write_error) ? kErrDiskSpace : kErrCannotWrite,
                      winfs::IsDiskFull(write_error) ? IDS_DISK_FULL : IDS_WRITE_FAILED, target);
    return;
  }
  if (!winfs::ReplaceWith(work, target)) job.report.Fail(kErrCannotWrite, IDS_WRITE_FAILED, target);
}

}  // namespace unlha
