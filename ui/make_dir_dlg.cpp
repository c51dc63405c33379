#include "ui/make_dir_dlg.h"

#include "framework/msgbox.h"
#include "res/resource.h"

CMakeDirDlg::CMakeDirDlg(CWnd* pParent) : CDialog(IDD_MAKE_DIR, pParent) {}

void CMakeDirDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_MAKEDIR_NAME, m_strName);
}

void CMakeDirDlg::OnOK() {
    UpdateData(TRUE);
    if (m_strName.IsEmpty()) return;
    // Only the last component is made: the directories above it must exist.
    SECURITY_ATTRIBUTES sa = {sizeof(sa), NULL, FALSE};
    if (!CreateDirectoryA(m_strName, &sa)) {
        AfxMessageBox(IDS_MKDIR_FAILED, MB_ICONHAND);
        return;
    }
    CDialog::OnOK();
}
