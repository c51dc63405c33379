#include "archiver/dll/archive_access.h"

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
  while ((error = archive->reader->Next(&header)) == lzh::Error::kOk) {
    winfs::DropSpellableUnicodeName(&header);
    archive->entries.push_back(header);
  }
  archive->end = error;
  return true;
}

}  // namespace unlha
