#include "archiver/dll/archive_access.h"

#include <cinttypes>
#include <cstdio>

#include "archiver/dll/entry_record.h"
#include "archiver/dll/resource.h"
#include "archiver/win/entry_extract.h"

namespace unlha {

void ReportReadError(lzh::Error error, const std::string& name, Report* report) {
  switch (error) {
    case lzh::Error::kOk:
    case lzh::Error::kEndOfArchive: return;
    case lzh::Error::kNotArchive: report->Fail(kErrNotArcFile, IDS_NOT_ARCHIVE, name); return;
    case lzh::Error::kTruncated:
    case lzh::Error::kBadHeader: report->Fail(kErrHeaderBroken, IDS_HEADER_BROKEN, name); return;
    case lzh::Error::kUnknownMethod: report->Fail(kErrUnknownType, IDS_UNKNOWN_METHOD, name); return;
    case lzh::Error::kDamagedData: report->Fail(kErrHuffmanCode, IDS_DAMAGED, name); return;
    case lzh::Error::kCrcError: report->Fail(kErrFileCrc, IDS_CRC_ERROR, name); return;
    case lzh::Error::kReadError: report->Fail(kErrCannotRead, IDS_SOURCE_UNREADABLE, name); return;
    case lzh::Error::kWriteError: report->Fail(kErrCannotWrite, IDS_WRITE_FAILED, name); return;
    case lzh::Error::kCancelled: report->Cancel(); return;
  }
}

namespace {

std::string OffsetText(uint64_t offset) {
  char text[32];
  snprintf(text, sizeof text, "%" PRIu64, offset);
  return text;
}

bool InUse(DWORD error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION; }

// Writers take an exclusive lock on one byte far past any archive's end, so
// that a second writer is told the archive is in use while readers go on
// unhindered. Wine keeps such locks within one session; the check before
// the replace (RewriteArchive) covers what gets past.
bool LockAgainstWriters(HANDLE file) {
  OVERLAPPED far_away = {};
  far_away.OffsetHigh = 0x40000000;
  return LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &far_away) != 0;
}

bool Open(const std::wstring& path, bool for_update, LoadedArchive* archive, Report* report) {
  archive->path = path;
  archive->source = winfs::FileSource::Open(path);
  if (archive->source && for_update && !LockAgainstWriters(archive->source->handle())) {
    archive->source.reset();
    SetLastError(ERROR_LOCK_VIOLATION);
  }
  if (!archive->source) {
    if (report) report->Fail(kErrArcFileOpen, InUse(GetLastError()) ? IDS_ARCHIVE_IN_USE : IDS_ARC_NOT_FOUND, path);
    return false;
  }
  archive->identity_known = winfs::IdentityOf(archive->source->handle(), &archive->identity);
  if (!archive->identity_known) {
    FILETIME written = archive->source->WriteTime();
    archive->identity.size = archive->source->Size();
    archive->identity.write_time = ((uint64_t)written.dwHighDateTime << 32) | written.dwLowDateTime;
  }
  return true;
}

bool ReadEntries(LoadedArchive* archive, Report* report) {
  archive->reader.reset(new lzh::ArchiveReader(archive->source.get()));
  lzh::Error error = archive->reader->Open();
  if (error != lzh::Error::kOk) {
    if (report) report->Fail(kErrNotArcFile, IDS_NOT_ARCHIVE, archive->path);
    return false;
  }
  lzh::Header header;
  uint64_t at = archive->reader->position();
  while ((error = archive->reader->Next(&header)) == lzh::Error::kOk ||
         (error == lzh::Error::kTruncated && archive->reader->data_cut())) {
    winfs::DropSpellableUnicodeName(&header);
    archive->entries.push_back(header);
    if (error != lzh::Error::kOk) {
      // A whole header over data the file does not hold: the entry is listed,
      // its extraction reports the cut.
      archive->last_data_cut = true;
      at = header.data_offset;
      break;
    }
    at = archive->reader->position();
  }
  archive->end = error;
  archive->end_offset = at;
  return true;
}

}  // namespace

bool DataRunsPastEnd(const LoadedArchive& archive, const lzh::Header& header) {
  uint64_t size = archive.source ? archive.source->Size() : 0;
  return header.data_offset > size || header.compressed_size > size - header.data_offset;
}

void ReportDamage(const LoadedArchive& archive, const std::string& archive_name, Report* report) {
  switch (archive.end) {
    case lzh::Error::kTruncated:
    case lzh::Error::kBadHeader:
      break;
    default:
      ReportReadError(archive.end, archive_name, report);
      return;
  }
  std::string offset = OffsetText(archive.end_offset);
  if (archive.last_data_cut) {
    report->Fail(kErrHeaderBroken, IDS_DAMAGE_DATA_CUT,
                 {archive_name, DisplayName(archive.entries.back()), offset});
  } else if (archive.entries.empty()) {
    report->Fail(kErrHeaderBroken, IDS_DAMAGE_FIRST_HEADER, {archive_name, offset});
  } else {
    report->Fail(kErrHeaderBroken, IDS_DAMAGE_HEADER,
                 {archive_name, offset, DisplayName(archive.entries.back())});
  }
}

void ReportEntryError(lzh::Error error, const LoadedArchive& archive, const lzh::Header& header, Report* report) {
  std::vector<std::string> texts = {DisplayName(header), OffsetText(header.data_offset)};
  switch (error) {
    case lzh::Error::kTruncated:
    case lzh::Error::kDamagedData:
      if (DataRunsPastEnd(archive, header))
        report->Fail(kErrHeaderBroken, IDS_ENTRY_DATA_CUT, texts);
      else
        report->Fail(kErrHuffmanCode, IDS_ENTRY_DATA_BROKEN, texts);
      return;
    case lzh::Error::kCrcError: report->Fail(kErrFileCrc, IDS_ENTRY_CRC, texts); return;
    default: ReportReadError(error, DisplayName(header), report); return;
  }
}

bool LoadArchive(const std::wstring& path, LoadedArchive* archive, Report* report) {
  return Open(path, false, archive, report) && ReadEntries(archive, report);
}

bool LoadArchiveForUpdate(const std::wstring& path, LoadedArchive* archive, Report* report) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    report->Fail(kErrCannotWrite, IDS_ARCHIVE_READ_ONLY, path);
    return false;
  }
  return Open(path, true, archive, report) && ReadEntries(archive, report);
}

}  // namespace unlha
