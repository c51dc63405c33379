#include "archiver/sfx/extractor.h"
#include "archiver/win/link_guard.h"

#include <windows.h>

#include <vector>

#include "archiver/lzh/reader.h"
#include "archiver/sfx/win_disk.h"
#include "archiver/sfx/win_file.h"

namespace sfx {
namespace {

// The stored path as a user reads it: '\\' between components.
std::string DisplayName(const std::string& stored) {
  std::string name = stored;
  for (char& c : name)
    if (c == '/') c = '\\';
  return name;
}

class Extraction {
 public:
  Extraction(lzh::ByteSource* archive, const std::string& destination, OverwritePolicy policy,
             ExtractEvents* events)
      : reader_(archive),
        destination_(FullPathOf(destination.empty() ? std::string(".") : destination)),
        policy_(policy),
        events_(events) {}

  Summary Run();

 private:
  bool List();
  void ExtractEntry(const lzh::Header& header);
  void MakeFolderEntry(const lzh::Header& header, const std::string& name, const std::string& path);
  void WriteFileEntry(const lzh::Header& header, const std::string& name, const std::string& path);
  // False when the existing file at `path` is to be kept (or on cancel).
  bool MayReplace(const std::string& name, const std::string& path);
  bool Commit(const std::string& temporary, const std::string& path, DWORD attributes, DWORD* error);
  void Report(ProblemKind kind, const std::string& name, lzh::Error error = lzh::Error::kOk,
              lzh::PathVerdict verdict = lzh::PathVerdict::kOk, DWORD win_error = 0);

  lzh::ArchiveReader reader_;
  std::string destination_;
  std::string resolved_destination_;  // links followed; "" when unknown
  OverwritePolicy policy_;
  ExtractEvents* events_;
  std::vector<lzh::Header> entries_;
  std::vector<std::pair<std::string, const lzh::Header*>> folders_;  // times set at the end
  uint64_t total_ = 0;
  uint64_t done_ = 0;
  Summary summary_;
};

Summary Extraction::Run() {
  if (!List()) return summary_;
  DWORD error = 0;
  if (!MakeFolders(destination_, &error)) {
    summary_.no_destination = true;
    return summary_;
  }
  resolved_destination_ = winfs::ResolvedPath(destination_);
  for (const lzh::Header& header : entries_) {
    // Asked between entries too: small files may finish without a report.
    if (summary_.cancelled || !events_->OnProgress(done_, total_)) {
      summary_.cancelled = true;
      break;
    }
    ExtractEntry(header);
  }
  for (const auto& folder : folders_) SetFolderTimes(folder.first, *folder.second);
  if (!summary_.cancelled) events_->OnProgress(total_, total_);
  return summary_;
}

bool Extraction::List() {
  lzh::Error error = reader_.Open();
  if (error != lzh::Error::kOk) {
    summary_.no_archive = true;
    return false;
  }
  lzh::Header header;
  while ((error = reader_.Next(&header)) == lzh::Error::kOk) {
    entries_.push_back(header);
    if (!header.IsDirectory()) total_ += header.original_size;
  }
  if (error != lzh::Error::kEndOfArchive) {
    summary_.archive_damaged = true;
    Report(ProblemKind::kArchiveDamaged, entries_.empty() ? std::string() : DisplayName(entries_.back().path),
           error);
  }
  return true;
}

void Extraction::ExtractEntry(const lzh::Header& header) {
  std::vector<std::string> components;
  lzh::PathVerdict verdict = lzh::SafeRelativePath(header.path, &components);
  // A directory entry such as "./" is the destination itself.
  if (verdict == lzh::PathVerdict::kEmpty && header.IsDirectory()) return;
  if (verdict != lzh::PathVerdict::kOk) {
    ++summary_.refused;
    Report(ProblemKind::kRefusedName, DisplayName(header.path), lzh::Error::kOk, verdict);
    done_ += header.IsDirectory() ? 0 : header.original_size;
    return;
  }
  std::string name = lzh::JoinPath(components, '\\');
  std::string path = destination_ + (destination_.back() == '\\' ? "" : "\\") + name;
  // A link already in the destination must not carry the entry elsewhere.
  if (!winfs::StaysBelow(path, resolved_destination_)) {
    ++summary_.refused;
    Report(ProblemKind::kRefusedName, DisplayName(header.path), lzh::Error::kOk, lzh::PathVerdict::kParentDir);
    done_ += header.IsDirectory() ? 0 : header.original_size;
    return;
  }
  events_->OnEntry(name);
  if (header.IsDirectory())
    MakeFolderEntry(header, name, path);
  else
    WriteFileEntry(header, name, path);
}

void Extraction::MakeFolderEntry(const lzh::Header& header, const std::string& name, const std::string& path) {
  DWORD error = 0;
  if (!MakeFolders(path, &error)) {
    ++summary_.failed;
    Report(ProblemKind::kWriteFailed, name, lzh::Error::kOk, lzh::PathVerdict::kOk, error);
    return;
  }
  ++summary_.extracted;
  folders_.emplace_back(path, &header);
}

bool Extraction::MayReplace(const std::string& name, const std::string& path) {
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
  switch (policy_) {
    case OverwritePolicy::kAlways:
      return true;
    case OverwritePolicy::kNever:
      break;
    case OverwritePolicy::kAsk:
      switch (events_->AskOverwrite(name)) {
        case OverwriteAnswer::kYes:
          return true;
        case OverwriteAnswer::kAll:
          policy_ = OverwritePolicy::kAlways;
          return true;
        case OverwriteAnswer::kCancel:
          summary_.cancelled = true;
          return false;
        case OverwriteAnswer::kNo:
          break;
      }
      break;
  }
  ++summary_.kept;
  Report(ProblemKind::kKeptExisting, name);
  return false;
}

void Extraction::WriteFileEntry(const lzh::Header& header, const std::string& name, const std::string& path) {
  uint64_t done_before = done_;
  done_ += header.original_size;
  std::string folder = ParentOf(path);
  DWORD error = 0;
  if (!MakeFolders(folder, &error)) {
    ++summary_.failed;
    Report(ProblemKind::kWriteFailed, name, lzh::Error::kOk, lzh::PathVerdict::kOk, error);
    return;
  }
  DWORD existing = GetFileAttributesA(path.c_str());
  if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_DIRECTORY)) {
    ++summary_.failed;
    Report(ProblemKind::kWriteFailed, name, lzh::Error::kOk, lzh::PathVerdict::kOk, ERROR_ALREADY_EXISTS);
    return;
  }
  if (!MayReplace(name, path)) return;

  char temporary[MAX_PATH];
  if (!GetTempFileNameA(folder.c_str(), "zsx", 0, temporary)) {
    ++summary_.failed;
    Report(ProblemKind::kWriteFailed, name, lzh::Error::kOk, lzh::PathVerdict::kOk, GetLastError());
    return;
  }
  HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = GetLastError();
    DeleteFileA(temporary);
    ++summary_.failed;
    Report(ProblemKind::kWriteFailed, name, lzh::Error::kOk, lzh::PathVerdict::kOk, error);
    return;
  }
  FileSink sink(file);
  lzh::Error result = reader_.Extract(header, &sink, [this, done_before](uint64_t done, uint64_t) {
    return events_->OnProgress(done_before + done, total_);
  });
  if (result == lzh::Error::kOk) SetEntryTimes(file, header);
  CloseHandle(file);

  if (result != lzh::Error::kOk) {
    DeleteFileA(temporary);
    if (result == lzh::Error::kCancelled) {
      summary_.cancelled = true;
    } else if (result == lzh::Error::kWriteError) {
      ++summary_.failed;
      Report(ProblemKind::kWriteFailed, name, result, lzh::PathVerdict::kOk, sink.last_error());
    } else {
      ++summary_.failed;
      Report(ProblemKind::kDamaged, name, result);
    }
    return;
  }
  if (!Commit(temporary, path, EntryAttributes(header), &error)) {
    DeleteFileA(temporary);
    ++summary_.failed;
    Report(ProblemKind::kWriteFailed, name, lzh::Error::kOk, lzh::PathVerdict::kOk, error);
    return;
  }
  ++summary_.extracted;
}

bool Extraction::Commit(const std::string& temporary, const std::string& path, DWORD attributes, DWORD* error) {
  DWORD existing = GetFileAttributesA(path.c_str());
  if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesA(path.c_str(), existing & ~FILE_ATTRIBUTE_READONLY);
  if (!MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    *error = GetLastError();
    if (existing != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(path.c_str(), existing);
    return false;
  }
  SetFileAttributesA(path.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL);
  return true;
}

void Extraction::Report(ProblemKind kind, const std::string& name, lzh::Error error, lzh::PathVerdict verdict,
                        DWORD win_error) {
  Problem problem;
  problem.kind = kind;
  problem.name = name;
  problem.error = error;
  problem.verdict = verdict;
  problem.win_error = win_error;
  events_->OnProblem(problem);
}

}  // namespace

int ExitCodeOf(const Summary& summary) {
  if (summary.no_archive || summary.no_destination) return kExitNoArchive;
  if (summary.cancelled) return kExitCancelled;
  if (summary.archive_damaged || summary.failed) return kExitFailed;
  if (summary.kept || summary.refused) return kExitSkipped;
  return kExitOk;
}

Summary ExtractAll(lzh::ByteSource* archive, const std::string& destination, OverwritePolicy policy,
                   ExtractEvents* events) {
  ExtractEvents quiet;
  Extraction extraction(archive, destination, policy, events ? events : &quiet);
  return extraction.Run();
}

}  // namespace sfx
