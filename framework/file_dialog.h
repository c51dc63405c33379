// CFileDialog: the common open and save dialogs. The filter is given in the
// "Name|*.ext|...||" form. Callers may change m_ofn before DoModal (title,
// template, an owner window) and give a larger file-name buffer for multiple
// selection with SetFileBuffer.
//
// An old-style dialog (OFN_EXPLORER cleared, usually with a template of the
// caller's) is a window of this object for its lifetime: a hook procedure
// attaches it when the platform initialises the dialog, then OnInitDialog
// runs with data exchange into the controls, and the object's message map
// sees every later message. OK saves the controls into the members before
// the platform checks the name; the platform ends the dialog itself.
// Explorer-style dialogs run without the hook.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <vector>

#include "framework/collections.h"
#include "framework/cstring.h"
#include "framework/dialog.h"

class CFileDialog : public CDialog {
    DECLARE_DYNAMIC(CFileDialog)
public:
    CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt = NULL, LPCSTR lpszFileName = NULL,
                DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR lpszFilter = NULL,
                CWnd* pParentWnd = NULL);

    // IDOK or IDCANCEL; after IDCANCEL GetCommDlgError tells why (0 when the
    // user cancelled; FNERR_BUFFERTOOSMALL too when the chosen names came
    // back cut off at the buffer's end). The box is owned by the parent window, else by the
    // main window.
    INT_PTR DoModal() override;
    DWORD GetCommDlgError() const { return m_dwCommDlgError; }

    // Gives the dialog a file-name buffer of nChars characters (and its
    // terminator), keeping the name set so far; for multiple selection.
    void SetFileBuffer(int nChars);

    CString GetPathName() const;   // the first (or only) chosen path
    CString GetFileName() const;   // its last component
    CString GetFileExt() const;    // its extension without the dot
    CString GetFileTitle() const;  // its last component without extension

    // Walks the chosen paths, one or many (OFN_ALLOWMULTISELECT).
    POSITION GetStartPosition() const;
    CString GetNextPathName(POSITION& pos) const;

    // The platform owns OK and Cancel: only the members are brought up to date.
    void OnOK() override;
    void OnCancel() override;

    OPENFILENAMEA m_ofn;
    BOOL m_bOpenFileDialog;

protected:
    friend UINT_PTR CALLBACK AfxFileDialogHook(HWND, UINT, WPARAM, LPARAM);

private:
    BOOL IsMultiple() const;
    BOOL ListFitsBuffer() const;

    CString m_strFilter;   // '|' replaced by zero bytes
    CString m_strDefExt;
    CString m_strTitle;    // a template's caption
    std::vector<char> m_fileBuffer;
    char m_szFileTitle[64];
    DWORD m_dwCommDlgError;

    DECLARE_MESSAGE_MAP()
};
