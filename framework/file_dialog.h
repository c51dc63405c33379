// CFileDialog: the common open and save dialogs. The filter is given in the
// "Name|*.ext|...||" form. Callers may change m_ofn before DoModal (title,
// a larger file-name buffer for multiple selection, an owner window).
#pragma once

#include <windows.h>
#include <commdlg.h>

#include "framework/collections.h"
#include "framework/cstring.h"
#include "framework/object.h"

class CWnd;

class CFileDialog : public CObject {
public:
    CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt = NULL, LPCSTR lpszFileName = NULL,
                DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR lpszFilter = NULL,
                CWnd* pParentWnd = NULL);

    // IDOK or IDCANCEL; after IDCANCEL CommDlgExtendedError tells why. The box
    // is owned by the parent window, else by the main window.
    virtual INT_PTR DoModal();

    CString GetPathName() const;   // the first (or only) chosen path
    CString GetFileName() const;   // its last component
    CString GetFileExt() const;    // its extension without the dot
    CString GetFileTitle() const;  // its last component without extension

    // Walks the chosen paths, one or many (OFN_ALLOWMULTISELECT).
    POSITION GetStartPosition() const;
    CString GetNextPathName(POSITION& pos) const;

    OPENFILENAMEA m_ofn;
    BOOL m_bOpenFileDialog;
    CWnd* m_pParentWnd;

private:
    BOOL IsMultiple() const;

    CString m_strFilter;   // '|' replaced by zero bytes
    CString m_strDefExt;
    char m_szFileName[MAX_PATH];
    char m_szFileTitle[64];
};
