// The progress window a command shows while it works (none with -n): the
// current action and entry name, a bar, and Cancel. It is modeless and owned
// by the caller's window, which stays disabled meanwhile; Step() keeps the
// messages moving so the window repaints and Cancel can be pressed. It
// appears only once a command has run for a moment, so quick commands do not
// flash a window.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

namespace unlha {

class Progress {
 public:
  // `visible` false makes every call a cheap no-op (Cancel then never comes).
  Progress(HWND owner, bool visible);
  ~Progress();

  // A new phase: action text id (IDS_EXTRACTING...) and the total bytes.
  void Begin(UINT action_id, uint64_t total);
  void SetName(const std::string& name);
  // Reports `done` bytes of the total; returns false once the user cancelled.
  bool Step(uint64_t done);
  bool Cancelled() const { return cancelled_; }
  // The window while it shows, else null.
  HWND window() const { return window_; }

  // Takes the window away (before an error box or another dialog).
  void Close();

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
  void ShowWhenDue();
  void Pump();

  HWND owner_;
  bool visible_;
  DWORD started_;
  UINT action_id_ = 0;
  std::string name_;
  HWND window_ = nullptr;
  bool owner_disabled_ = false;
  bool cancelled_ = false;
  uint64_t total_ = 0;
  DWORD last_pump_ = 0;
};

}  // namespace unlha
