#include "archiver/dll/progress.h"

#include <commctrl.h>

#include "archiver/dll/report.h"
#include "archiver/dll/resource.h"

namespace unlha {

namespace {
// Messages are pumped at most this often (milliseconds) while bytes flow.
const DWORD kPumpInterval = 50;
const int kBarRange = 1000;
// Milliseconds a command runs before its progress window appears.
const DWORD kShowDelay = 400;
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
}  // namespace

Progress::Progress(HWND owner, bool visible)
    : owner_(owner), visible_(visible), started_(GetTickCount()) {}

Progress::~Progress() { Close(); }

void Progress::ShowWhenDue() {
  if (window_ || !visible_ || GetTickCount() - started_ < kShowDelay) return;
  visible_ = false;  // one attempt only
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  RegisterProgressClass();
  window_ = CreateDialogParamA(ModuleInstance(), MAKEINTRESOURCEA(IDD_PROGRESS), owner_, DialogProc,
                               (LPARAM)this);
  if (!window_) return;
  SendDlgItemMessageA(window_, IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, kBarRange);
  if (action_id_) SetDlgItemTextA(window_, IDC_PROGRESS_ACTION, LoadText(action_id_).c_str());
  SetDlgItemTextA(window_, IDC_PROGRESS_NAME, name_.c_str());
  if (owner_ && IsWindowEnabled(owner_)) {
    EnableWindow(owner_, FALSE);
    owner_disabled_ = true;
  }
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
}

void Progress::Close() {
  visible_ = false;
  if (owner_disabled_) {
    EnableWindow(owner_, TRUE);
    owner_disabled_ = false;
  }
  if (window_) {
    DestroyWindow(window_);
    window_ = nullptr;
  }
}

void Progress::Begin(UINT action_id, uint64_t total) {
  total_ = total;
  action_id_ = action_id;
  ShowWhenDue();
  if (!window_) return;
  SetDlgItemTextA(window_, IDC_PROGRESS_ACTION, LoadText(action_id).c_str());
  SendDlgItemMessageA(window_, IDC_PROGRESS_BAR, PBM_SETPOS, 0, 0);
  Pump();
}

void Progress::SetName(const std::string& name) {
  name_ = name;
  ShowWhenDue();
  if (!window_) return;
  SetDlgItemTextA(window_, IDC_PROGRESS_NAME, name.c_str());
  Pump();
}

bool Progress::Step(uint64_t done) {
  ShowWhenDue();
  if (!window_) return !cancelled_;
  DWORD now = GetTickCount();
  if (now - last_pump_ >= kPumpInterval) {
    int position = total_ ? (int)((double)done * kBarRange / (double)total_) : 0;
    if (position > kBarRange) position = kBarRange;
    SendDlgItemMessageA(window_, IDC_PROGRESS_BAR, PBM_SETPOS, position, 0);
    Pump();
  }
  return !cancelled_;
}

void Progress::Pump() {
  last_pump_ = GetTickCount();
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
