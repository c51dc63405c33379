#include "framework/dialog.h"

#include <stdlib.h>

#include "framework/afx_state.h"
#include "framework/winapp.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOKCommand)
    ON_COMMAND(IDCANCEL, OnCancelCommand)
END_MESSAGE_MAP()

CDialog::CDialog() : m_nIDHelp(0), m_nIDTemplate(0), m_pParentWnd(nullptr) {}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDHelp(nIDTemplate), m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

// The dialog manager's procedure: only the first message needs us here; the
// rest pass through the subclassed window procedure first.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG) return FALSE;
    CDialog* pDlg = static_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd));
    return pDlg != nullptr ? pDlg->OnInitDialog() : TRUE;
}

INT_PTR CDialog::DoModal() {
    HWND hWndParent = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : AfxGetMainWndHandle();
    if (hWndParent != NULL) {
        // The owner is the top-level window.
        while (::GetWindowLongA(hWndParent, GWL_STYLE) & WS_CHILD) hWndParent = ::GetParent(hWndParent);
        // A disabled owner (another modal box is up) would leave this one unreachable.
        hWndParent = ::GetLastActivePopup(hWndParent);
    }
    AfxHookWindowCreate(this);
    INT_PTR nResult = DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate),
                                      hWndParent, AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    return nResult;
}

void CDialog::EndDialog(int nResult) { ::EndDialog(m_hWnd, nResult); }

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;  // the dialog manager gives the first control the focus
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

// ---------------------------------------------------------------------------

HWND CDataExchange::PrepareCtrl(int nIDC) {
    m_idLastControl = nIDC;
    return ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    HWND hCtrl = pDX->PrepareCtrl(nIDC);
    if (hCtrl == NULL) return;
    if (pDX->m_bSaveAndValidate) value = (int)::SendMessageA(hCtrl, BM_GETCHECK, 0, 0);
    else ::SendMessageA(hCtrl, BM_SETCHECK, (WPARAM)(value >= 0 && value <= 2 ? value : 0), 0);
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    HWND hCtrl = pDX->PrepareCtrl(nIDC);
    if (hCtrl == NULL) return;
    if (pDX->m_bSaveAndValidate) {
        int nLen = ::GetWindowTextLengthA(hCtrl);
        ::GetWindowTextA(hCtrl, value.GetBuffer(nLen), nLen + 1);
        value.ReleaseBuffer();
    } else {
        ::SetWindowTextA(hCtrl, value);
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    HWND hCtrl = pDX->PrepareCtrl(nIDC);
    if (hCtrl == NULL) return;
    if (pDX->m_bSaveAndValidate) {
        char szText[32];
        ::GetWindowTextA(hCtrl, szText, sizeof(szText));
        value = atoi(szText);
    } else {
        char szText[32];
        wsprintfA(szText, "%d", value);
        ::SetWindowTextA(hCtrl, szText);
    }
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    HWND hFirst = pDX->PrepareCtrl(nIDC);
    if (hFirst == NULL) return;
    HWND hDlg = pDX->m_pDlgWnd->m_hWnd;
    if (pDX->m_bSaveAndValidate) value = -1;
    int nIndex = 0;
    HWND hCtrl = hFirst;
    do {
        LRESULT code = ::SendMessageA(hCtrl, WM_GETDLGCODE, 0, 0);
        if (code & DLGC_RADIOBUTTON) {
            if (pDX->m_bSaveAndValidate) {
                if (::SendMessageA(hCtrl, BM_GETCHECK, 0, 0) == BST_CHECKED) value = nIndex;
            } else {
                ::SendMessageA(hCtrl, BM_SETCHECK, nIndex == value ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            ++nIndex;
        }
        hCtrl = ::GetWindow(hCtrl, GW_HWNDNEXT);
    } while (hCtrl != NULL && !(::GetWindowLongA(hCtrl, GWL_STYLE) & WS_GROUP));
    (void)hDlg;
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd != NULL) return;
    HWND hCtrl = pDX->PrepareCtrl(nIDC);
    if (hCtrl != NULL) rControl.SubclassWindow(hCtrl);
}
