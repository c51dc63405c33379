// Whether extraction replaces a file that is already where an entry goes:
// the policy a caller chose (ask, always, never), and the question the
// library and the windowed self-extractor ask alike, in a dialog showing the
// file on disk and the entry, each with its size and date.
#pragma once
#include <windows.h>

#include <string>

#include "archiver/lzh/header.h"

namespace winfs {

enum class OverwritePolicy { kAsk, kAlways, kNever };
enum class OverwriteAnswer { kYes, kNo, kAll, kCancel };

// Decides file by file; "All" makes every later file a yes without asking.
// The caller supplies the question.
class OverwriteChoice {
 public:
  explicit OverwriteChoice(OverwritePolicy policy) : policy_(policy) {}

  // kYes (replace), kNo (keep) or kCancel for the file at `path`.
  OverwriteAnswer Decide(const std::wstring& path, const lzh::Header& entry) {
    if (policy_ == OverwritePolicy::kAlways) return OverwriteAnswer::kYes;
    if (policy_ == OverwritePolicy::kNever) return OverwriteAnswer::kNo;
    OverwriteAnswer answer = Ask(path, entry);
    if (answer != OverwriteAnswer::kAll) return answer;
    policy_ = OverwritePolicy::kAlways;
    return OverwriteAnswer::kYes;
  }

 protected:
  ~OverwriteChoice() = default;
  // Asks about the file at `path`, where `entry` goes.
  virtual OverwriteAnswer Ask(const std::wstring& path, const lzh::Header& entry) = 0;

 private:
  OverwritePolicy policy_;
};

// The question about replacing the file at `path` with `entry`, known to the
// user as `name`: a modal dialog owned by `owner` from the template
// IDD_OVERWRITE in `resources` (overwrite_question.rc).
OverwriteAnswer AskOverwrite(HINSTANCE resources, HWND owner, const std::string& name, const std::wstring& path,
                             const lzh::Header& entry);

}  // namespace winfs
