// CException and CArchiveException.
#include "framework/archive_exception.h"

#include "framework/msgbox.h"

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CArchiveException, CException)

BOOL CException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) {
    if (pnHelpContext) *pnHelpContext = 0;
    if (lpszError && nMaxError > 0) *lpszError = '\0';
    return FALSE;
}

int CException::ReportError(UINT nType, UINT nMessageID) {
    char text[512];
    if (GetErrorMessage(text, sizeof(text)) && text[0]) return AfxMessageBox(text, nType);
    if (nMessageID) return AfxMessageBox(nMessageID, nType);
    return AfxMessageBox("An unexpected error occurred.", nType);
}

BOOL CArchiveException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) {
    if (pnHelpContext) *pnHelpContext = 0;
    if (!lpszError || nMaxError == 0) return FALSE;
    // A generic failure (a refused settings write) gets the general text of an
    // unexpected error while writing.
    UINT id = m_cause > generic ? AFX_IDP_ARCH_NONE + m_cause : AFX_IDP_ARCH_NONE;
    CString text;
    if (!text.LoadString(id)) text = "An unexpected error occurred while writing.";
    lstrcpynA(lpszError, text, (int)nMaxError);
    return TRUE;
}

void AfxThrowArchiveException(int cause, LPCSTR lpszArchiveName) {
    throw new CArchiveException(cause, lpszArchiveName);
}
