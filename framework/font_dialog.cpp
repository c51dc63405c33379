// CFontDialog over ChooseFontA.
#include "framework/font_dialog.h"

#include <string.h>

#include "framework/afx_state.h"
#include "framework/wnd.h"

CFontDialog::CFontDialog(const LOGFONTA* lplfInitial, DWORD dwFlags, HDC hdcPrinter,
                         CWnd* pParentWnd) {
    memset(&m_cf, 0, sizeof(m_cf));
    memset(&m_lf, 0, sizeof(m_lf));
    m_cf.lStructSize = sizeof(m_cf);
    m_cf.lpLogFont = &m_lf;
    m_cf.Flags = dwFlags;
    m_cf.hDC = hdcPrinter;
    if (pParentWnd != NULL) m_cf.hwndOwner = pParentWnd->GetSafeHwnd();
    if (lplfInitial != NULL) {
        m_lf = *lplfInitial;
        m_cf.Flags |= CF_INITTOLOGFONTSTRUCT;
    }
}

INT_PTR CFontDialog::DoModal() {
    m_cf.lpLogFont = &m_lf;  // the object may have been copied since construction
    if (m_cf.hwndOwner == NULL) {
        HWND hMain = AfxGetMainWndHandle();
        m_cf.hwndOwner = hMain ? GetLastActivePopup(hMain) : NULL;
    }
    return ChooseFontA(&m_cf) ? IDOK : IDCANCEL;
}
