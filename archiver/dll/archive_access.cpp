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

// True when the file ends before the entry's data does.
bool DataRunsPastEnd(const LoadedArchive& archive, const lzh::Header& header) {
  uint64_t size = archive.source ? archive.source->Size() : 0;
  return header.data_offset > size || header.compressed_size > size - header.data_offset;
}

}  // namespace

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
  archive->path = path;
  archive->source = winfs::FileSource::Open(path);
  if (!archive->source) {
    if (report) report->Fail(kErrArcFileOpen, IDS_ARC_NOT_FOUND, path);
    return false;
  }
  archive->reader.reset(new lzh::ArchiveReader(archive->source.get()));
  lzh::Error error = archive->reader->Open();
  if (error != lzh::Error::kOk) {
    if (report) report->Fail(kErrNotArcFile, IDS_NOT_ARCHIVE, path);
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

}  // namespace unlha
