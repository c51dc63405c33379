#include "archiver/sfx/gui_progress.h"

#include <commctrl.h>

#include "archiver/sfx/sfx_resource.h"
#include "archiver/sfx/sfx_texts.h"

namespace sfx {
namespace {

const int kBarRange = 1000;
const DWORD kPumpInterval = 50;  // ms between message pumps while decoding

}  // namespace

ProgressWindow::ProgressWindow(HINSTANCE instance) : instance_(instance) {
  window_ = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_SFX_PROGRESS), nullptr, DialogProc,
                               reinterpret_cast<LPARAM>(this));
  if (window_) {
    SendDlgItemMessageA(window_, IDC_PROGRESS, PBM_SETRANGE32, 0, kBarRange);
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
  }
}

ProgressWindow::~ProgressWindow() {
  if (window_) DestroyWindow(window_);
}

INT_PTR CALLBACK ProgressWindow::DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  ProgressWindow* self = reinterpret_cast<ProgressWindow*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lparam);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wparam) == IDCANCEL && self) {
        self->cancelled_ = true;
        EnableWindow(GetDlgItem(dialog, IDCANCEL), FALSE);
        return TRUE;
      }
      break;
    case WM_CLOSE:
      if (self) self->cancelled_ = true;
      return TRUE;
  }
  return FALSE;
}

void ProgressWindow::PumpMessages() {
  last_pump_ = GetTickCount();
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      cancelled_ = true;
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (window_ && IsDialogMessageA(window_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void ProgressWindow::OnEntry(const std::string& name) {
  if (window_) SetDlgItemTextA(window_, IDC_CURRENT_NAME, name.c_str());
  PumpMessages();
}

bool ProgressWindow::OnProgress(uint64_t done, uint64_t total) {
  // In 32 bits (a 64-bit division would bring the run-time's helper along):
  // the counts drop low bits until the total fits 22, which the bar's 1000
  // steps never show.
  if (done > total) done = total;
  while (total >= (1u << 22)) {
    total >>= 1;
    done >>= 1;
  }
  int position = total ? static_cast<int>(static_cast<uint32_t>(done) * kBarRange / static_cast<uint32_t>(total))
                       : kBarRange;
  if (window_ && position != last_position_) {
    SendDlgItemMessageA(window_, IDC_PROGRESS, PBM_SETPOS, position, 0);
    last_position_ = position;
  }
  if (GetTickCount() - last_pump_ >= kPumpInterval) PumpMessages();
  return !cancelled_;
}

OverwriteAnswer ProgressWindow::AskOverwrite(const std::string& name, const std::wstring& path,
                                             const lzh::Header& entry) {
  if (cancelled_) return OverwriteAnswer::kCancel;
  OverwriteAnswer answer = winfs::AskOverwrite(instance_, window_, name, path, entry);
  return cancelled_ ? OverwriteAnswer::kCancel : answer;  // Cancel pressed while the question was open
}

void ProgressWindow::OnProblem(const Problem& problem) { problems_.push_back(DescribeProblem(problem)); }

}  // namespace sfx
