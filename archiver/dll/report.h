// Collects the problems of one command and shows them in one error box owned
// by the caller's window. Each problem is a message id from the string table,
// optionally formatted with a name; the first problem decides the result code.
#pragma once
#include <windows.h>

#include <string>
#include <unordered_set>
#include <vector>

#include "archiver/dll/result_codes.h"

namespace unlha {

class Report {
 public:
  explicit Report(HWND owner) : owner_(owner) {}

  // Records a problem: `message_id` is a string resource that may hold one
  // %s, filled with `name`.
  void Fail(Result code, UINT message_id, const std::string& name = std::string());
  // The same with several texts, filling the message's %s in turn.
  void Fail(Result code, UINT message_id, const std::vector<std::string>& texts);
  // The same with a disk path, shown in the system code page.
  void Fail(Result code, UINT message_id, const std::wstring& path);

  // A failure the caller learns from the command's output: its code, no
  // line in the box.
  void Note(Result code) { if (result_ == kOk) result_ = code; }
  // The user cancelled: a failure without a box.
  void Cancel() { if (result_ == kOk) result_ = kErrUserCancel; }

  bool Failed() const { return result_ != kOk; }
  Result result() const { return result_; }

  // Shows the collected problems (if any) and returns the result code.
  int Finish();

 private:
  HWND owner_;
  Result result_ = kOk;
  std::vector<std::string> lines_;
  std::unordered_set<std::string> seen_;  // lines_ again, for a quick look-up
};

// Loads string resource `id` of this library (CP932 text).
std::string LoadText(UINT id);

// The module handle of this library.
HINSTANCE ModuleInstance();

}  // namespace unlha
