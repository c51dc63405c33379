// Extracts every entry of an archive below a destination folder on disk.
//
// The archive is listed first, so that progress can count all bytes and a cut
// or damaged header area is known before anything is written. Then every entry
// is written, folders kept:
//   - a stored name that would leave the destination (or cannot be a Windows
//     name) is refused, reported and skipped;
//   - a file is decoded into a temporary file beside its target and renamed
//     over it only when its CRC matched, so a damaged entry or a cancel never
//     destroys an existing file and never leaves a half-written one;
//   - an existing file is overwritten by the policy, or after asking;
//   - time stamps come from the entry, folders' last of all.
// A damaged entry does not stop the others; the summary and the exit code say
// what happened.
#pragma once
#include <cstdint>
#include <string>

#include "archiver/lzh/error.h"
#include "archiver/lzh/io.h"
#include "archiver/lzh/safe_path.h"
#include "archiver/win/overwrite_question.h"

namespace sfx {

using winfs::OverwriteAnswer;
using winfs::OverwritePolicy;

enum class ProblemKind {
  kRefusedName,     // the stored name is not safe below the destination: `verdict`
  kKeptExisting,    // a file of that name existed and was left alone
  kDamaged,         // the entry's data is damaged, cut or of an unknown method: `error`
  kWriteFailed,     // the file or folder could not be made or written: `win_error`
  kArchiveDamaged,  // the headers end early or are broken after the entry `name`
  kLinkSkipped,     // a Unix link entry, which is never made: `name` is "link -> target"
};

struct Problem {
  ProblemKind kind;
  std::string name;  // the entry as the user knows it ('\\' separators)
  lzh::Error error = lzh::Error::kOk;
  lzh::PathVerdict verdict = lzh::PathVerdict::kOk;
  unsigned long win_error = 0;
};

// What the user interface hears from the extraction; all optional.
class ExtractEvents {
 public:
  virtual ~ExtractEvents() = default;
  virtual void OnEntry(const std::string& name) {}
  // Bytes written so far over all entries, and the total; false cancels.
  virtual bool OnProgress(uint64_t done, uint64_t total) { return true; }
  // About the file at `path`, where `entry` (`name` to the user) goes.
  virtual OverwriteAnswer AskOverwrite(const std::string& name, const std::wstring& path, const lzh::Header& entry) {
    return OverwriteAnswer::kNo;
  }
  virtual void OnProblem(const Problem& problem) {}
};

struct Summary {
  bool no_archive = false;           // nothing that looks like an archive
  bool no_destination = false;       // the destination folder could not be made
  bool cancelled = false;
  bool archive_damaged = false;
  unsigned extracted = 0;            // files and folders written
  unsigned kept = 0;                 // existing files not overwritten
  unsigned refused = 0;              // unsafe names and links
  unsigned failed = 0;               // damaged entries and write errors
};

// Exit codes of both stubs.
enum ExitCode {
  kExitOk = 0,          // every entry extracted
  kExitSkipped = 1,     // some entries skipped: existing files kept, names refused
  kExitFailed = 2,      // damaged archive or entries, or files that could not be written
  kExitNoArchive = 3,   // no archive behind the program, bad command line, no destination
  kExitCancelled = 4,
};
int ExitCodeOf(const Summary& summary);

// `destination` "" is the current folder.
Summary ExtractAll(lzh::ByteSource* archive, const std::wstring& destination, OverwritePolicy policy,
                   ExtractEvents* events);
// The same with a destination in the system code page.
Summary ExtractAll(lzh::ByteSource* archive, const std::string& destination, OverwritePolicy policy,
                   ExtractEvents* events);

}  // namespace sfx
