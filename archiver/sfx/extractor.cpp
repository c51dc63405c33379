#include "archiver/sfx/extractor.h"

#include <windows.h>

#include <vector>

#include "archiver/lzh/reader.h"
#include "archiver/win/entry_extract.h"
#include "archiver/win/entry_time.h"
#include "archiver/win/wide_text.h"
#include "archiver/win/win_path.h"

namespace sfx {
namespace {

// The stored path as a user reads it: '\\' between components.
std::string DisplayName(const std::string& stored) {
  std::string name = stored;
  for (char& c : name)
    if (c == '/') c = '\\';
  return name;
}

// The read-only, hidden and system bits the entry asks for (none for entries
// from systems without DOS attributes).
DWORD EntryAttributes(const lzh::Header& header) {
  if (header.os_id == lzh::kOsUnix) return 0;
  return header.dos_attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
}

class Extraction : private winfs::OverwriteChoice {
 public:
  Extraction(lzh::ByteSource* archive, OverwritePolicy policy, ExtractEvents* events)
      : OverwriteChoice(policy), reader_(archive), events_(events) {}

  Summary Run(const std::wstring& destination);

 private:
  bool List();
  void ExtractEntry(const lzh::Header& header);
  void MakeFolderEntry(const lzh::Header& header, const std::string& name, const std::wstring& path);
  void WriteFileEntry(const lzh::Header& header, const std::string& name, const std::wstring& path);
  void Report(ProblemKind kind, const std::string& name, lzh::Error error = lzh::Error::kOk,
              lzh::PathVerdict verdict = lzh::PathVerdict::kOk, DWORD win_error = 0);

  // The question about an existing file goes to the listener.
  OverwriteAnswer Ask(const std::wstring& path, const lzh::Header& entry) override {
    return events_->AskOverwrite(DisplayName(entry.path), path, entry);
  }

  lzh::ArchiveReader reader_;
  winfs::Destination destination_;
  ExtractEvents* events_;
  std::vector<lzh::Header> entries_;
  std::vector<std::pair<std::wstring, const lzh::Header*>> folders_;  // times set at the end
  uint64_t total_ = 0;
  uint64_t done_ = 0;
  Summary summary_;
};

Summary Extraction::Run(const std::wstring& destination) {
  if (!List()) return summary_;
  DWORD error = 0;
  if (!destination_.Prepare(destination, &error)) {
    summary_.no_destination = true;
    return summary_;
  }
  for (const lzh::Header& header : entries_) {
    // Asked between entries too: small files may finish without a report.
    if (summary_.cancelled || !events_->OnProgress(done_, total_)) {
      summary_.cancelled = true;
      break;
    }
    ExtractEntry(header);
  }
  for (const auto& folder : folders_) winfs::SetFolderTimes(folder.first, *folder.second);
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
  if (header.IsLink()) {
    ++summary_.refused;
    Report(ProblemKind::kLinkSkipped, DisplayName(header.path) + " -> " + header.link_target);
    return;
  }
  std::wstring path;
  lzh::PathVerdict verdict = destination_.Target(header, true, &path);
  // A directory entry such as "./" is the destination itself.
  if (verdict == lzh::PathVerdict::kEmpty && header.IsDirectory()) return;
  std::string name = DisplayName(header.path);
  if (verdict != lzh::PathVerdict::kOk) {
    ++summary_.refused;
    Report(ProblemKind::kRefusedName, name, lzh::Error::kOk, verdict);
    done_ += header.IsDirectory() ? 0 : header.original_size;
    return;
  }
  events_->OnEntry(name);
  if (header.IsDirectory())
    MakeFolderEntry(header, name, path);
  else
    WriteFileEntry(header, name, path);
}

void Extraction::MakeFolderEntry(const lzh::Header& header, const std::string& name, const std::wstring& path) {
  DWORD error = 0;
  if (!destination_.MakeFolders(path, &error)) {
    ++summary_.failed;
    Report(ProblemKind::kWriteFailed, name, lzh::Error::kOk, lzh::PathVerdict::kOk, error);
    return;
  }
  ++summary_.extracted;
  folders_.emplace_back(path, &header);
}

void Extraction::WriteFileEntry(const lzh::Header& header, const std::string& name, const std::wstring& path) {
  uint64_t done_before = done_;
  done_ += header.original_size;
  DWORD error = 0;
  if (!destination_.MakeFolders(winfs::ParentOf(path), &error)) {
    ++summary_.failed;
    Report(ProblemKind::kWriteFailed, name, lzh::Error::kOk, lzh::PathVerdict::kOk, error);
    return;
  }
  bool kept = false;
  lzh::Error result = winfs::WriteEntryFile(
      &reader_, header, path, EntryAttributes(header),
      [this, done_before](uint64_t done, uint64_t) { return events_->OnProgress(done_before + done, total_); },
      &error, this, &kept);
  if (kept) {
    ++summary_.kept;
    Report(ProblemKind::kKeptExisting, name);
  } else if (result == lzh::Error::kOk) {
    ++summary_.extracted;
  } else if (result == lzh::Error::kCancelled) {
    summary_.cancelled = true;
  } else if (result == lzh::Error::kWriteError) {
    ++summary_.failed;
    Report(ProblemKind::kWriteFailed, name, result, lzh::PathVerdict::kOk, error);
  } else {
    ++summary_.failed;
    Report(ProblemKind::kDamaged, name, result);
  }
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

Summary ExtractAll(lzh::ByteSource* archive, const std::wstring& destination, OverwritePolicy policy,
                   ExtractEvents* events) {
  ExtractEvents quiet;
  Extraction extraction(archive, policy, events ? events : &quiet);
  return extraction.Run(destination);
}

Summary ExtractAll(lzh::ByteSource* archive, const std::string& destination, OverwritePolicy policy,
                   ExtractEvents* events) {
  return ExtractAll(archive, winfs::Widen(destination), policy, events);
}

}  // namespace sfx
