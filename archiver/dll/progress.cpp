#include "archiver/dll/progress.h"

#include <commctrl.h>

#include <cstdlib>

#include "archiver/dll/report.h"
#include "archiver/dll/resource.h"

namespace unlha {

namespace {
// The messages are pumped at most this often (milliseconds), so Cancel
// answers within a quarter of a second; the bar and name are redrawn more
// rarely, as each redraw of the bar paints at once and, under Wine, is a
// round trip to the display that costs more than many files.
const DWORD kTickInterval = 100;
const DWORD kDrawInterval = 250;
const int kBarRange = 1000;
// Milliseconds a command runs before its progress window appears; with -n.
const DWORD kShowDelay = 400;
const DWORD kQuietShowDelay = 1500;
const char kClassName[] = "Unlha32Progress";

// The progress window is a dialog of its own class, so it is told apart from
// message boxes and modal dialogs.
void RegisterProgressClass() {
  WNDCLASSA window_class = {};
  if (GetClassInfoA(ModuleInstance(), kClassName, &window_class)) return;
  window_class.lpfnWndProc = DefDlgProcA;
  window_class.cbWndExtra = DLGWINDOWEXTRA;
  window_class.hInstance = ModuleInstance();
  window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
  window_class.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kClassName;
  RegisterClassA(&window_class);
}

// UNLHA32_PROGRESS_AFTER (milliseconds) replaces the delay, so a test can
// see the window of a short command.
DWORD ShowDelay(bool quiet) {
  char text[16];
  DWORD length = GetEnvironmentVariableA("UNLHA32_PROGRESS_AFTER", text, sizeof text);
  if (length > 0 && length < sizeof text) return (DWORD)atoi(text);
  return quiet ? kQuietShowDelay : kShowDelay;
}
}  // namespace

Progress::Progress(HWND owner, bool allowed, bool quiet)
    : owner_(owner), allowed_(allowed), started_(GetTickCount()), show_after_(allowed ? ShowDelay(quiet) : 0),
      last_tick_(started_ - kTickInterval) {}

Progress::~Progress() { Close(); }

void Progress::Show() {
  allowed_ = false;  // one attempt only
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  RegisterProgressClass();
  window_ = CreateDialogParamA(ModuleInstance(), MAKEINTRESOURCEA(IDD_PROGRESS), owner_, DialogProc,
                               (LPARAM)this);
  if (!window_) return;
  SendDlgItemMessageA(window_, IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, kBarRange);
  Draw();
  if (owner_ && IsWindowEnabled(owner_)) {
    EnableWindow(owner_, FALSE);
    owner_disabled_ = true;
  }
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
}

// Sets only what changed since the last time.
void Progress::Draw() {
  if (action_id_ != shown_action_) {
    SetDlgItemTextA(window_, IDC_PROGRESS_ACTION, LoadText(action_id_).c_str());
    shown_action_ = action_id_;
  }
  if (name_ != shown_name_) {
    SetDlgItemTextA(window_, IDC_PROGRESS_NAME, name_.c_str());
    shown_name_ = name_;
  }
  int position = total_ ? (int)((double)done_ * kBarRange / (double)total_) : 0;
  if (position > kBarRange) position = kBarRange;
  if (position != shown_position_) {
    SendDlgItemMessageA(window_, IDC_PROGRESS_BAR, PBM_SETPOS, position, 0);
    shown_position_ = position;
  }
}

void Progress::Close() {
  allowed_ = false;
  if (window_ && !cancelled_) {
    Draw();
    UpdateWindow(window_);
  }
  if (owner_disabled_) {
    EnableWindow(owner_, TRUE);
    owner_disabled_ = false;
  }
  if (window_) {
    DestroyWindow(window_);
    window_ = nullptr;
  }
}

bool Progress::Tick() {
  if (!window_ && !allowed_) return !cancelled_;
  DWORD now = GetTickCount();
  if (now - last_tick_ < kTickInterval) return !cancelled_;
  last_tick_ = now;
  if (!window_ && now - started_ >= show_after_) {
    Show();
    last_draw_ = now;
  }
  if (!window_) return !cancelled_;
  if (now - last_draw_ >= kDrawInterval) {
    Draw();
    last_draw_ = now;
  }
  Pump();
  return !cancelled_;
}

void Progress::Begin(UINT action_id, uint64_t total) {
  action_id_ = action_id;
  total_ = total;
  done_ = 0;
  Tick();
}

void Progress::SetName(const std::string& name) {
  if (!window_ && !allowed_) return;
  name_ = name;
  Tick();
}

bool Progress::Step(uint64_t done) {
  done_ = done;
  return Tick();
}

void Progress::Pump() {
  MSG message;
  while (window_ && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Leave the quit for the caller's own loop.
      PostQuitMessage((int)message.wParam);
      cancelled_ = true;
      break;
    }
    if (!IsDialogMessageA(window_, &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
}

INT_PTR CALLBACK Progress::DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lparam);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wparam) == IDCANCEL) {
        Progress* self = (Progress*)GetWindowLongPtrA(dialog, DWLP_USER);
        if (self) self->cancelled_ = true;
        EnableWindow(GetDlgItem(dialog, IDCANCEL), FALSE);
      }
      return TRUE;
  }
  return FALSE;
}

}  // namespace unlha
