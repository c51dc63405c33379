// CFileDialog over GetOpenFileNameA / GetSaveFileNameA.
#include "framework/file_dialog.h"

#include "framework/afx_state.h"
#include "framework/path_parts.h"
#include "framework/wnd.h"

#include <cderr.h>
#include <string.h>

IMPLEMENT_DYNAMIC(CFileDialog, CDialog)

BEGIN_MESSAGE_MAP(CFileDialog, CDialog)
END_MESSAGE_MAP()

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName,
                         DWORD dwFlags, LPCSTR lpszFilter, CWnd* pParentWnd)
    : CDialog(0, pParentWnd), m_bOpenFileDialog(bOpenFileDialog), m_strDefExt(lpszDefExt),
      m_fileBuffer(MAX_PATH + 2, '\0'), m_dwCommDlgError(0) {
    memset(&m_ofn, 0, sizeof(m_ofn));
    m_szFileTitle[0] = '\0';
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.hInstance = AfxGetResourceHandle();
    m_ofn.lpstrFile = m_fileBuffer.data();
    m_ofn.nMaxFile = MAX_PATH;
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = sizeof(m_szFileTitle);
    m_ofn.Flags = dwFlags | OFN_EXPLORER;
    if (pParentWnd) m_ofn.hwndOwner = pParentWnd->GetSafeHwnd();
    if (lpszDefExt) m_ofn.lpstrDefExt = m_strDefExt;
    if (lpszFileName) lstrcpynA(m_fileBuffer.data(), lpszFileName, MAX_PATH);
    if (lpszFilter) {
        m_strFilter = lpszFilter;
        m_strFilter.Replace('|', '\0');
        m_ofn.lpstrFilter = m_strFilter;
    }
}

void CFileDialog::SetFileBuffer(int nChars) {
    if (nChars < 1) nChars = 1;
    // Two zero bytes beyond what the dialog may fill: walking a list that
    // came back cut off never runs past the buffer.
    m_fileBuffer.resize((size_t)nChars + 3, '\0');
    m_fileBuffer[nChars] = '\0';
    m_ofn.lpstrFile = m_fileBuffer.data();
    m_ofn.nMaxFile = (DWORD)nChars + 1;
}

BOOL CFileDialog::ListFitsBuffer() const {
    // A complete list ends in two zero bytes with room to spare; a list
    // that reaches the buffer's end was cut off (some platforms cut it
    // instead of failing with FNERR_BUFFERTOOSMALL).
    LPCSTR p = m_ofn.lpstrFile;
    DWORD n = m_ofn.nMaxFile;
    for (DWORD i = 0; i + 2 < n; ++i)
        if (p[i] == '\0' && p[i + 1] == '\0') return TRUE;
    return FALSE;
}

// The platform calls this from the dialog's own procedure. On WM_INITDIALOG
// (after the platform filled its controls) the dialog window becomes the
// object's, so its message map sees everything from here on.
UINT_PTR CALLBACK AfxFileDialogHook(HWND hDlg, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG || lParam == 0) return 0;
    CFileDialog* pDlg = reinterpret_cast<CFileDialog*>(((OPENFILENAMEA*)lParam)->lCustData);
    if (pDlg == nullptr) return TRUE;
    if (CWnd::FromHandlePermanent(hDlg) != pDlg) pDlg->SubclassWindow(hDlg);
    return pDlg->OnInitDialog();
}

namespace {

// Steps over a menu or class field of a dialog template: none, an ordinal or
// a string.
const WORD* SkipTemplateField(const WORD* p) {
    if (*p == 0x0000) return p + 1;
    if (*p == 0xFFFF) return p + 2;
    while (*p) ++p;
    return p + 1;
}

// The caption of a dialog template resource; empty when there is none.
CString TemplateCaption(HINSTANCE hInst, LPCSTR lpszTemplate) {
    HRSRC hRes = FindResourceA(hInst, lpszTemplate, (LPCSTR)RT_DIALOG);
    const WORD* p = hRes ? (const WORD*)LockResource(LoadResource(hInst, hRes)) : nullptr;
    if (p == nullptr) return CString();
    BOOL bExtended = p[0] == 1 && p[1] == 0xFFFF;
    // Header: DLGTEMPLATEEX 26 bytes, DLGTEMPLATE 18 bytes.
    p += bExtended ? 13 : 9;
    p = SkipTemplateField(SkipTemplateField(p));
    CString caption;
    int n = WideCharToMultiByte(CP_ACP, 0, (LPCWSTR)p, -1, NULL, 0, NULL, NULL);
    if (n > 1) {
        WideCharToMultiByte(CP_ACP, 0, (LPCWSTR)p, -1, caption.GetBuffer(n), n, NULL, NULL);
        caption.ReleaseBuffer();
    }
    return caption;
}

}  // namespace

INT_PTR CFileDialog::DoModal() {
    // The filter string may have moved since construction.
    if (m_ofn.lpstrFilter && !m_strFilter.IsEmpty()) m_ofn.lpstrFilter = m_strFilter;
    if (!m_ofn.hwndOwner) {
        HWND hMain = AfxGetMainWndHandle();
        m_ofn.hwndOwner = hMain ? GetLastActivePopup(hMain) : NULL;
    }
    if (!(m_ofn.Flags & OFN_EXPLORER)) {
        // The platform would title the dialog "Open" or "Save As": a
        // template of the caller's keeps its own caption.
        if (!m_ofn.lpstrTitle && (m_ofn.Flags & OFN_ENABLETEMPLATE)) {
            m_strTitle = TemplateCaption(m_ofn.hInstance, m_ofn.lpTemplateName);
            if (!m_strTitle.IsEmpty()) m_ofn.lpstrTitle = m_strTitle;
        }
        m_ofn.Flags |= OFN_ENABLEHOOK;
        m_ofn.lpfnHook = AfxFileDialogHook;
        m_ofn.lCustData = (LPARAM)this;
    }
    m_dwCommDlgError = 0;
    BOOL ok = m_bOpenFileDialog ? GetOpenFileNameA(&m_ofn) : GetSaveFileNameA(&m_ofn);
    if (!ok) m_dwCommDlgError = CommDlgExtendedError();
    if (ok && IsMultiple() && !ListFitsBuffer()) {
        ok = FALSE;
        m_dwCommDlgError = FNERR_BUFFERTOOSMALL;
    }
    // The window is gone; a dialog that never became ours leaves nothing behind.
    if (m_hWnd != NULL) Detach();
    return ok ? IDOK : IDCANCEL;
}

void CFileDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    Default();
}

void CFileDialog::OnCancel() { Default(); }

BOOL CFileDialog::IsMultiple() const {
    // Explorer style puts the directory, a zero, then the names.
    return (m_ofn.Flags & OFN_ALLOWMULTISELECT) && m_ofn.nFileOffset > 0 &&
           m_ofn.lpstrFile[m_ofn.nFileOffset - 1] == '\0';
}

CString CFileDialog::GetPathName() const {
    if (!IsMultiple()) return CString(m_ofn.lpstrFile);
    POSITION pos = GetStartPosition();
    return pos ? GetNextPathName(pos) : CString();
}

CString CFileDialog::GetFileName() const {
    CString path = GetPathName();
    return path.Mid(path.ReverseFind('\\') + 1);
}

CString CFileDialog::GetFileExt() const {
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot < 0 ? CString() : name.Mid(dot + 1);
}

CString CFileDialog::GetFileTitle() const {
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot < 0 ? name : name.Left(dot);
}

POSITION CFileDialog::GetStartPosition() const {
    return m_ofn.lpstrFile[0] ? (POSITION)m_ofn.lpstrFile : NULL;
}

CString CFileDialog::GetNextPathName(POSITION& pos) const {
    LPCSTR p = (LPCSTR)pos;
    if (!p) return CString();
    if (!IsMultiple()) {
        pos = NULL;
        return CString(m_ofn.lpstrFile);
    }
    if (p == m_ofn.lpstrFile) p += m_ofn.nFileOffset;
    CString name(p);
    p += strlen(p) + 1;
    pos = *p ? (POSITION)p : NULL;

    return WithTrailingBackslash(m_ofn.lpstrFile) + name;
}
