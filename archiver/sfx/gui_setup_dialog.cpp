#include "archiver/sfx/gui_setup_dialog.h"

#include <shlobj.h>

#include "archiver/sfx/sfx_resource.h"
#include "archiver/sfx/sfx_texts.h"

namespace sfx {
namespace {

struct SetupState {
  std::string archive_name;
  std::string* destination;
};

std::string ItemText(HWND dialog, int id) {
  char buffer[MAX_PATH * 2];
  GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
  return buffer;
}

// Opens the folder browser at the folder already typed in.
int CALLBACK OnBrowseEvent(HWND browser, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED) SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, data);
  return 0;
}

void OnBrowse(HWND dialog) {
  std::string current = ItemText(dialog, IDC_DESTINATION);
  std::string title = LoadText(IDS_BROWSE_TITLE);
  char chosen[MAX_PATH];
  BROWSEINFOA info = {};
  info.hwndOwner = dialog;
  info.pszDisplayName = chosen;
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = OnBrowseEvent;
  info.lParam = reinterpret_cast<LPARAM>(current.c_str());
  LPITEMIDLIST item = SHBrowseForFolderA(&info);
  if (!item) return;
  if (SHGetPathFromIDListA(item, chosen)) SetDlgItemTextA(dialog, IDC_DESTINATION, chosen);
  CoTaskMemFree(item);
}

void OnOk(HWND dialog, SetupState* state) {
  std::string destination = ItemText(dialog, IDC_DESTINATION);
  if (destination.find_first_not_of(" \t") == std::string::npos) {
    std::string title = LoadText(IDS_TITLE);
    MessageBoxA(dialog, LoadText(IDS_NEED_DESTINATION).c_str(), title.c_str(), MB_OK | MB_ICONEXCLAMATION);
    SetFocus(GetDlgItem(dialog, IDC_DESTINATION));
    return;
  }
  *state->destination = destination;
  EndDialog(dialog, IDOK);
}

BOOL OnInitDialog(HWND dialog, SetupState* state) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
  SetDlgItemTextA(dialog, IDC_ARCHIVE_NAME, FormatText(IDS_ARCHIVE_LABEL, state->archive_name.c_str()).c_str());
  SetDlgItemTextA(dialog, IDC_DESTINATION, state->destination->c_str());
  SendDlgItemMessageA(dialog, IDC_DESTINATION, EM_LIMITTEXT, MAX_PATH - 1, 0);
  return TRUE;
}

INT_PTR CALLBACK SetupDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  SetupState* state = reinterpret_cast<SetupState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(dialog, reinterpret_cast<SetupState*>(lparam));
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case IDC_BROWSE:
          OnBrowse(dialog);
          return TRUE;
        case IDOK:
          OnOk(dialog, state);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

bool AskDestination(HINSTANCE instance, const std::string& archive_name, std::string* destination) {
  SetupState state{archive_name, destination};
  return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SFX_SETUP), nullptr, SetupDialogProc,
                         reinterpret_cast<LPARAM>(&state)) == IDOK;
}

}  // namespace sfx
