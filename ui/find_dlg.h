// CFindDlg: asks for part of a name and lists every file of the archive, in
// every folder, whose name contains it; OK (or a double click) chooses one.
#pragma once

#include <string>
#include <vector>

#include "framework/controls.h"
#include "framework/dialog.h"

class CArchiveDoc;

// Whether a name contains a part, both folded as the list's name sort folds
// case (the platform's lower case of the user's locale), compared by
// characters: a second byte of a double-byte character never matches alone.
BOOL NameContains(LPCSTR lpszName, LPCSTR lpszPart);

class CFindDlg : public CDialog {
public:
    CFindDlg(CArchiveDoc* pDoc, CWnd* pParent = NULL);

    // The chosen file: its folder (relative directory path) and name.
    CString m_strDir;
    CString m_strName;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnTextChange();
    afx_msg void OnResultDblClk(NMHDR* pNMHDR, LRESULT* pResult);
    void FillResults();

    CArchiveDoc* m_pDoc;
    CListCtrl m_wndResults;
    std::vector<std::wstring> m_foldedNames;  // per entry of the document, folded once

    DECLARE_MESSAGE_MAP()
};
