#include "archiver/dll/archive_access.h"

#include "archiver/dll/resource.h"
#include "archiver/lzh/safe_path.h"

namespace unlha {

bool FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Position of the last separator, or npos; a trail byte 0x5C is not one.
static size_t LastSeparator(const std::string& path) {
  size_t last = std::string::npos;
  for (size_t i = 0; i < path.size(); ++i) {
    unsigned char c = (unsigned char)path[i];
    if (lzh::IsCp932LeadByte(c) && i + 1 < path.size()) {
      ++i;
    } else if (c == '\\' || c == '/') {
      last = i;
    }
  }
  return last;
}

std::string WithSeparator(const std::string& directory) {
  if (directory.empty()) return directory;
  size_t last = LastSeparator(directory);
  if (last == directory.size() - 1) return directory;
  return directory + '\\';
}

std::string ParentOf(const std::string& path) {
  size_t last = LastSeparator(path);
  if (last == std::string::npos) return std::string();
  if (last == 2 && path[1] == ':') return path.substr(0, 3);  // "C:\"
  return path.substr(0, last);
}

std::string BaseName(const std::string& path) {
  std::string trimmed = path;
  while (!trimmed.empty() && LastSeparator(trimmed) == trimmed.size() - 1) trimmed.pop_back();
  size_t last = LastSeparator(trimmed);
  return last == std::string::npos ? trimmed : trimmed.substr(last + 1);
}

bool CreateDirectories(const std::string& directory) {
  std::string path = directory;
  while (!path.empty() && LastSeparator(path) == path.size() - 1 &&
         !(path.size() == 3 && path[1] == ':'))
    path.pop_back();
  if (path.empty() || DirectoryExists(path)) return true;
  std::string parent = ParentOf(path);
  if (!parent.empty() && parent != path && !CreateDirectories(parent)) return false;
  return CreateDirectoryA(path.c_str(), nullptr) || DirectoryExists(path);
}

std::string FullPath(const std::string& path) {
  char buffer[MAX_PATH * 2];
  DWORD length = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
  if (length == 0 || length >= sizeof buffer) return path;
  return std::string(buffer, length);
}

std::string MakeWorkFile(const std::string& directory) {
  char buffer[MAX_PATH];
  std::string where = directory.empty() ? std::string(".") : directory;
  if (!GetTempFileNameA(where.c_str(), "lzh", 0, buffer)) return std::string();
  return buffer;
}

bool ReplaceWith(const std::string& work_file, const std::string& target) {
  if (MoveFileExA(work_file.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  if (GetLastError() == ERROR_NOT_SAME_DEVICE) {
    // Copy next to the target first, so the old file is only ever replaced
    // by a rename.
    std::string beside = MakeWorkFile(ParentOf(FullPath(target)));
    if (!beside.empty()) {
      if (CopyFileA(work_file.c_str(), beside.c_str(), FALSE) &&
          MoveFileExA(beside.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(work_file.c_str());
        return true;
      }
      DeleteFileA(beside.c_str());
    }
  }
  DeleteFileA(work_file.c_str());
  return false;
}

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

bool LoadArchive(const std::string& path, LoadedArchive* archive, Report* report) {
  archive->path = path;
  archive->source = FileSource::Open(path);
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
  while ((error = archive->reader->Next(&header)) == lzh::Error::kOk) archive->entries.push_back(header);
  archive->end = error;
  return true;
}

}  // namespace unlha
