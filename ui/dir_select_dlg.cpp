#include "ui/dir_select_dlg.h"

#include "ui/make_dir_dlg.h"
#include "framework/winapp.h"
#include "framework/wine_platform.h"
#include "res/resource.h"
#include "settings/remembered_settings.h"

namespace {

// The file name the dialog is started with; never shown.
const char kMarkerName[] = "(%zuvo%)";

// The platform's current-directory text and directory list of the template.
const int kCurrentDirText = 1088;
const int kDirList = 1121;
const int kAnswerBuffer = 1024;

}  // namespace

BEGIN_MESSAGE_MAP(CDirSelectDlg, CFileDialog)
    ON_BN_CLICKED(IDC_MAKE_DIR, OnMakeDir)
END_MESSAGE_MAP()

CDirSelectDlg::CDirSelectDlg(BOOL bCompressMode)
    : CFileDialog(FALSE, NULL, kMarkerName, OFN_HIDEREADONLY | OFN_ENABLETEMPLATE, NULL,
                  AfxGetMainWnd()),
      m_bDirExtract(0), m_bDirCompress(0), m_bDeleteAfter(0), m_bCompressMode(bCompressMode) {
    m_ofn.lpTemplateName = MAKEINTRESOURCEA(IDD_DIR_SELECT);
    m_ofn.Flags &= ~OFN_EXPLORER;
    // The answer is the directory and the marker name: in a directory whose
    // path is near 260 bytes a buffer of that size would make it fail.
    SetFileBuffer(kAnswerBuffer);
}

INT_PTR CDirSelectDlg::DoModal() {
    m_strInitialDir = LoadLastFolder();
    m_ofn.lpstrInitialDir = m_strInitialDir.IsEmpty() ? NULL : (LPCSTR)m_strInitialDir;
    return Conclude(CFileDialog::DoModal());
}

INT_PTR CDirSelectDlg::Conclude(INT_PTR nResult) {
    if (nResult != IDOK) return nResult;
    CString dir = GetSelectedDir();
    if (dir.IsEmpty()) return IDCANCEL;
    SaveLastFolder(dir);
    return IDOK;
}

CString CDirSelectDlg::GetSelectedDir() const {
    // ReverseFind steps over double-byte characters: a trail byte 0x5C is
    // part of a name, not a separator.
    CString path(m_ofn.lpstrFile);
    int sep = path.ReverseFind('\\');
    return sep < 0 ? CString() : path.Left(sep + 1);
}

void CDirSelectDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_DELETE_AFTER, m_btnDeleteAfter);
    DDX_Control(pDX, IDC_DIR_EXTRACT, m_btnDirExtract);
    DDX_Control(pDX, IDC_DIR_COMPRESS, m_btnDirCompress);
    DDX_Control(pDX, IDC_MAKE_DIR, m_btnMakeDir);
    DDX_Check(pDX, IDC_DIR_EXTRACT, m_bDirExtract);
    DDX_Check(pDX, IDC_DIR_COMPRESS, m_bDirCompress);
    DDX_Check(pDX, IDC_DELETE_AFTER, m_bDeleteAfter);
}

BOOL CDirSelectDlg::OnInitDialog() {
    CFileDialog::OnInitDialog();
    int showExtract = m_bCompressMode ? SW_HIDE : SW_SHOW;
    int showCompress = m_bCompressMode ? SW_SHOW : SW_HIDE;
    m_btnDirExtract.ShowWindow(showExtract);
    m_btnMakeDir.ShowWindow(showExtract);
    m_btnDirCompress.ShowWindow(showCompress);
    m_btnDeleteAfter.ShowWindow(showCompress);
    return TRUE;
}

void CDirSelectDlg::OnMakeDir() {
    CMakeDirDlg dlg(this);
    // The whole text, however long: the dialog shows the current directory.
    if (CWnd* pCurrent = GetDlgItem(kCurrentDirText)) pCurrent->GetWindowText(dlg.m_strName);
    if (dlg.DoModal() != IDOK) return;
    // List the directory again, new entry included: the platform's dialog
    // does so when its directory list's current entry is double-clicked.
    // Wine's list holds just the subdirectories, so there a selected one
    // would be entered instead: list the directory directly.
    if (AfxRunningOnWine()) {
        char spec[] = "*.*";
        ::DlgDirListA(m_hWnd, spec, kDirList, kCurrentDirText, DDL_EXCLUSIVE | DDL_DIRECTORY);
        return;
    }
    HWND hList = ::GetDlgItem(m_hWnd, kDirList);
    PostMessage(WM_COMMAND, MAKEWPARAM(kDirList, LBN_DBLCLK), (LPARAM)hList);
}
