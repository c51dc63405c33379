// CDialog: a modal dialog from a dialog template, with data exchange between
// its controls and the members of the derived class (DoDataExchange).
#pragma once

#include "framework/wnd.h"

class CDataExchange;

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    CDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);

    // IDOK, IDCANCEL or what EndDialog was given; -1 when the dialog could not
    // be made.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    // Controls into members (TRUE) or members into controls (FALSE); FALSE
    // when a value failed its check (the control then has the focus).
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    UINT m_nIDHelp;

protected:
    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

    virtual void DoDataExchange(CDataExchange* pDX);
    afx_msg void OnOKCommand() { OnOK(); }
    afx_msg void OnCancelCommand() { OnCancel(); }

    friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()
};

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd), m_idLastControl(0) {}
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    int m_idLastControl;
    HWND PrepareCtrl(int nIDC);
};

// Check box state (0, 1, 2) to and from an int or BOOL.
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// Edit text to and from a string or an integer.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
// The index of the checked radio button in the group that starts at nIDC;
// -1 for none.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
// Attaches a member window object to the dialog's control (once).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
