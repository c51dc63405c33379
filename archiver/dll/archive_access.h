// Opening an archive for a command: the file, its reader and every entry
// header, with problems reported in the user's terms.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "archiver/dll/report.h"
#include "archiver/dll/win_file.h"
#include "archiver/lzh/reader.h"

namespace unlha {

struct LoadedArchive {
  std::string path;
  std::unique_ptr<FileSource> source;
  std::unique_ptr<lzh::ArchiveReader> reader;
  std::vector<lzh::Header> entries;
  // kEndOfArchive after a clean walk; otherwise why the walk stopped early.
  lzh::Error end = lzh::Error::kEndOfArchive;
  bool Complete() const { return end == lzh::Error::kEndOfArchive; }
};

// Opens and walks `path`. Without a report nothing is shown. Returns false
// when the file is missing, unreadable or no archive (reported); a damaged
// tail returns true with `end` set (the caller decides).
bool LoadArchive(const std::string& path, LoadedArchive* archive, Report* report);

// Reports a reader error for `name` with the matching message and code.
void ReportReadError(lzh::Error error, const std::string& name, Report* report);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

// `directory` with one trailing '\' (none added to an empty text).
std::string WithSeparator(const std::string& directory);
// The directory part of a path ("" when it has none), without the separator.
std::string ParentOf(const std::string& path);
// The last component of a path ('\' or '/'; CP932-aware).
std::string BaseName(const std::string& path);
// Creates `directory` and its missing parents.
bool CreateDirectories(const std::string& directory);
// The absolute form of a path.
std::string FullPath(const std::string& path);

// A new empty file in `directory` for work in progress; "" on failure.
std::string MakeWorkFile(const std::string& directory);

// Moves the finished `work_file` over `target` (same volume or not). On
// failure `work_file` is removed and `target` is untouched.
bool ReplaceWith(const std::string& work_file, const std::string& target);

}  // namespace unlha
