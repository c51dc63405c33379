// CFileDialog over GetOpenFileNameA / GetSaveFileNameA (Explorer style).
#include "framework/file_dialog.h"

#include "framework/afx_state.h"
#include "framework/wnd.h"

#include <string.h>

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName,
                         DWORD dwFlags, LPCSTR lpszFilter, CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog), m_pParentWnd(pParentWnd), m_strDefExt(lpszDefExt) {
    memset(&m_ofn, 0, sizeof(m_ofn));
    m_szFileName[0] = '\0';
    m_szFileTitle[0] = '\0';
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.hInstance = AfxGetResourceHandle();
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = sizeof(m_szFileName);
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = sizeof(m_szFileTitle);
    m_ofn.Flags = dwFlags | OFN_EXPLORER;
    if (pParentWnd) m_ofn.hwndOwner = pParentWnd->GetSafeHwnd();
    if (lpszDefExt) m_ofn.lpstrDefExt = m_strDefExt;
    if (lpszFileName) lstrcpynA(m_szFileName, lpszFileName, sizeof(m_szFileName));
    if (lpszFilter) {
        m_strFilter = lpszFilter;
        m_strFilter.Replace('|', '\0');
        m_ofn.lpstrFilter = m_strFilter;
    }
}

INT_PTR CFileDialog::DoModal() {
    // The filter string may have moved since construction.
    if (m_ofn.lpstrFilter && !m_strFilter.IsEmpty()) m_ofn.lpstrFilter = m_strFilter;
    if (!m_ofn.hwndOwner) {
        HWND hMain = AfxGetMainWndHandle();
        m_ofn.hwndOwner = hMain ? GetLastActivePopup(hMain) : NULL;
    }
    BOOL ok = m_bOpenFileDialog ? GetOpenFileNameA(&m_ofn) : GetSaveFileNameA(&m_ofn);
    return ok ? IDOK : IDCANCEL;
}

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

    CString dir(m_ofn.lpstrFile);
    if (dir.IsEmpty() || dir.ReverseFind('\\') != dir.GetLength() - 1) dir += '\\';
    return dir + name;
}
