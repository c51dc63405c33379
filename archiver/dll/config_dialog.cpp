// The settings dialog (IDD_CONFIG).
#include <windows.h>

#include "archiver/dll/report.h"
#include "archiver/dll/resource.h"
#include "archiver/dll/settings.h"
#include "archiver/dll/version.h"

namespace unlha {

namespace {

void OnInitDialog(HWND dialog) {
  Settings settings = LoadSettings();
  CheckRadioButton(dialog, IDC_METHOD_LH5, IDC_METHOD_LH7, IDC_METHOD_LH5 + settings.method - 5);
  CheckRadioButton(dialog, IDC_LEVEL_0, IDC_LEVEL_2, IDC_LEVEL_0 + settings.header_level);
  CheckDlgButton(dialog, IDC_BEST_COMPRESSION, settings.best_compression ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, IDC_SHOW_PROGRESS, settings.show_progress ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, IDC_ARCHIVE_TIME, settings.archive_time_newest ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, IDC_RESTORE_ATTRIBUTES,
                 settings.restore_attributes ? BST_CHECKED : BST_UNCHECKED);
  char version[64];
  wsprintfA(version, "unlha32.dll version %d.%02d", kVersion / 100, kVersion % 100);
  SetDlgItemTextA(dialog, IDC_VERSION, version);
}

void OnOk(HWND dialog) {
  Settings settings;
  for (int i = 0; i < 3; ++i) {
    if (IsDlgButtonChecked(dialog, IDC_METHOD_LH5 + i)) settings.method = 5 + i;
    if (IsDlgButtonChecked(dialog, IDC_LEVEL_0 + i)) settings.header_level = i;
  }
  settings.best_compression = IsDlgButtonChecked(dialog, IDC_BEST_COMPRESSION) == BST_CHECKED;
  settings.show_progress = IsDlgButtonChecked(dialog, IDC_SHOW_PROGRESS) == BST_CHECKED;
  settings.archive_time_newest = IsDlgButtonChecked(dialog, IDC_ARCHIVE_TIME) == BST_CHECKED;
  settings.restore_attributes = IsDlgButtonChecked(dialog, IDC_RESTORE_ATTRIBUTES) == BST_CHECKED;
  if (!SaveSettings(settings)) {
    Report report(dialog);
    report.Fail(kErrCannotWrite, IDS_WRITE_FAILED, "HKEY_CURRENT_USER\\Software\\Vantrel\\unlha32");
    report.Finish();
    return;
  }
  EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK ConfigProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: OnInitDialog(dialog); return TRUE;
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK) OnOk(dialog);
      else if (LOWORD(wparam) == IDCANCEL) EndDialog(dialog, IDCANCEL);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

bool ShowConfigDialog(HWND owner) {
  return DialogBoxParamA(ModuleInstance(), MAKEINTRESOURCEA(IDD_CONFIG), owner, ConfigProc, 0) == IDOK;
}

}  // namespace unlha
