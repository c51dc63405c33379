// The progress window a command shows while it works: the current action
// and entry name, a bar that moves by bytes, and Cancel. It is modeless and
// owned by the caller's window, which stays disabled meanwhile. It appears
// only once a command has run for a moment, so quick commands do not flash a
// window; with -n a command must run longer still. Names and bytes are only
// noted as they come: the window is redrawn, and the messages pumped (so it
// repaints and Cancel can be pressed), a few times a second at most, and
// once more at the end.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

namespace unlha {

class Progress {
 public:
  // `allowed` false makes every call a cheap no-op (Cancel then never
  // comes); `quiet` (-n) shows the window only for a long command.
  Progress(HWND owner, bool allowed, bool quiet = false);
  ~Progress();

  // A new phase: action text id (IDS_EXTRACTING...) and the total bytes.
  void Begin(UINT action_id, uint64_t total);
  void SetName(const std::string& name);
  // Reports `done` bytes of the total; returns false once the user cancelled.
  bool Step(uint64_t done);
  bool Cancelled() const { return cancelled_; }
  // The window while it shows, else null.
  HWND window() const { return window_; }

  // Draws the last state and takes the window away (before an error box or
  // another dialog, and at the end).
  void Close();

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
  bool Tick();
  void Show();
  void Draw();
  void Pump();

  HWND owner_;
  bool allowed_;
  DWORD started_;
  DWORD show_after_;
  DWORD last_tick_;
  DWORD last_draw_ = 0;
  UINT action_id_ = 0;
  std::string name_;
  uint64_t total_ = 0;
  uint64_t done_ = 0;
  // What the window shows now.
  UINT shown_action_ = 0;
  std::string shown_name_;
  int shown_position_ = -1;
  HWND window_ = nullptr;
  bool owner_disabled_ = false;
  bool cancelled_ = false;
};

}  // namespace unlha
