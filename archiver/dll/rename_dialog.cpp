// The small dialog (IDD_RENAME) that asks for an entry's new name.
#include "archiver/dll/rename_dialog.h"

#include "archiver/dll/report.h"
#include "archiver/dll/resource.h"

namespace unlha {

namespace {

struct RenameState {
  std::string path;
  std::string old_name;
  const NameCheck* check;
  std::string new_name;
};

void OnInitDialog(HWND dialog, RenameState* state) {
  SetWindowLongPtrA(dialog, DWLP_USER, (LONG_PTR)state);
  SetDlgItemTextA(dialog, IDC_RENAME_OLD, state->path.c_str());
  HWND edit = GetDlgItem(dialog, IDC_RENAME_EDIT);
  SendMessageA(edit, EM_LIMITTEXT, 511, 0);
  SetWindowTextA(edit, state->old_name.c_str());
  SetFocus(edit);
  SendMessageA(edit, EM_SETSEL, 0, -1);
}

void OnOk(HWND dialog) {
  RenameState* state = (RenameState*)GetWindowLongPtrA(dialog, DWLP_USER);
  char text[512];
  GetDlgItemTextA(dialog, IDC_RENAME_EDIT, text, sizeof text);
  if (UINT refusal = (*state->check)(text)) {
    Report report(dialog);
    report.Fail(kErrNotFileName, refusal, text);
    report.Finish();
    HWND edit = GetDlgItem(dialog, IDC_RENAME_EDIT);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    return;
  }
  state->new_name = text;
  EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK RenameProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG: OnInitDialog(dialog, (RenameState*)lparam); return FALSE;
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK) OnOk(dialog);
      else if (LOWORD(wparam) == IDCANCEL) EndDialog(dialog, IDCANCEL);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

bool AskNewName(HWND owner, const std::string& path, const std::string& name, const NameCheck& check,
                std::string* new_name) {
  RenameState state;
  state.path = path;
  state.old_name = name;
  state.check = &check;
  INT_PTR result = DialogBoxParamA(ModuleInstance(), MAKEINTRESOURCEA(IDD_RENAME), owner, RenameProc,
                                   (LPARAM)&state);
  if (result != IDOK) return false;
  *new_name = state.new_name;
  return true;
}

}  // namespace unlha
