// Opening an archive for a command: the file, its reader and every entry
// header, with problems reported in the user's terms.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "archiver/dll/report.h"
#include "archiver/win/file_identity.h"
#include "archiver/win/win_file.h"
#include "archiver/lzh/reader.h"

namespace unlha {

struct LoadedArchive {
  std::wstring path;
  std::unique_ptr<winfs::FileSource> source;
  std::unique_ptr<lzh::ArchiveReader> reader;
  std::vector<lzh::Header> entries;
  // kEndOfArchive after a clean walk; otherwise why the walk stopped early.
  lzh::Error end = lzh::Error::kEndOfArchive;
  // The file that was read, for the check before it is replaced. Where the
  // system cannot tell a file's identity, its size and write time alone.
  winfs::FileIdentity identity;
  bool identity_known = false;
  // Where the walk stopped: the offset of the header it could not read, or
  // of the data that runs past the end of the file.
  uint64_t end_offset = 0;
  // The last entry's header is whole but the file ends inside its data (it
  // is listed; its extraction fails).
  bool last_data_cut = false;
  bool Complete() const { return end == lzh::Error::kEndOfArchive; }
};

// Opens and walks `path`. Without a report nothing is shown. Returns false
// when the file is missing, unreadable or no archive (reported); a damaged
// tail returns true with `end` set (the caller decides).
bool LoadArchive(const std::wstring& path, LoadedArchive* archive, Report* report);

// LoadArchive for a command that will replace the archive: a read-only
// archive is refused, and the archive is held against other writers for the
// whole command, which are told it is in use.
bool LoadArchiveForUpdate(const std::wstring& path, LoadedArchive* archive, Report* report);

// True when the file ends before the entry's data does.
bool DataRunsPastEnd(const LoadedArchive& archive, const lzh::Header& header);

// Reports a reader error for `name` with the matching message and code.
void ReportReadError(lzh::Error error, const std::string& name, Report* report);

// Reports why a walk stopped early, naming `archive_name`, the place, and
// whether a header or an entry's data is damaged. Nothing for a whole walk.
void ReportDamage(const LoadedArchive& archive, const std::string& archive_name, Report* report);

// Reports an entry that failed to decode with its name and where its data
// lies; other errors as ReportReadError.
void ReportEntryError(lzh::Error error, const LoadedArchive& archive, const lzh::Header& header, Report* report);

}  // namespace unlha
