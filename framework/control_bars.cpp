#include "framework/control_bars.h"

#include "framework/afx_state.h"
#include "framework/cmd_ui.h"
#include "framework/frame_wnd.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)
IMPLEMENT_DYNAMIC(CToolBar, CControlBar)
IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

CControlBar::CControlBar() : m_dwStyle(0) {}

void CControlBar::LayoutInFrame(RECT& rcFrame) {
    int cx = rcFrame.right - rcFrame.left;
    int cy = CalcHeight(cx);
    if (m_dwStyle & CBRS_ALIGN_BOTTOM) {
        ::MoveWindow(m_hWnd, rcFrame.left, rcFrame.bottom - cy, cx, cy, TRUE);
        rcFrame.bottom -= cy;
    } else {
        ::MoveWindow(m_hWnd, rcFrame.left, rcFrame.top, cx, cy, TRUE);
        rcFrame.top += cy;
    }
}

// ---------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
    ON_NOTIFY_REFLECT(TBN_HOTITEMCHANGE, OnHotItemChange)
END_MESSAGE_MAP()

CToolBar::CToolBar() : m_sizeImage{16, 15}, m_sizeButton{23, 22}, m_bHaveBitmap(FALSE) {}

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    m_dwStyle = dwStyle & CBRS_ALL;
    DWORD dwWndStyle = (dwStyle & ~CBRS_ALL) | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                       CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    if (!CreateEx(0, TOOLBARCLASSNAMEA, nullptr, dwWndStyle, 0, 0, 0, 0, pParentWnd->m_hWnd,
                  (HMENU)(UINT_PTR)nID))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return TRUE;
}

// Layout of a toolbar resource (type 241): version, button width and height,
// count, then the command ids.
struct ToolBarResource {
    WORD wVersion;
    WORD wWidth;
    WORD wHeight;
    WORD wItemCount;
    WORD items[1];
};

BOOL CToolBar::LoadToolBar(UINT nIDResource) {
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRsrc = FindResourceA(hInst, MAKEINTRESOURCEA(nIDResource), MAKEINTRESOURCEA(241));
    if (hRsrc == NULL) return FALSE;
    HGLOBAL hGlobal = LoadResource(hInst, hRsrc);
    const ToolBarResource* pData = (const ToolBarResource*)LockResource(hGlobal);
    if (pData == nullptr || pData->wVersion != 1) return FALSE;
    if (SizeofResource(hInst, hRsrc) < 8u + 2u * pData->wItemCount) return FALSE;
    std::vector<UINT> ids(pData->items, pData->items + pData->wItemCount);
    SIZE sizeImage = {pData->wWidth, pData->wHeight};
    SIZE sizeButton = {pData->wWidth + 7, pData->wHeight + 7};
    SetSizes(sizeButton, sizeImage);
    return LoadBitmap(nIDResource) && SetButtons(ids.data(), (int)ids.size());
}

BOOL CToolBar::LoadBitmap(UINT nIDResource) {
    // Light grey in the image takes the button face colour.
    HBITMAP hbm = (HBITMAP)LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource),
                                      IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS);
    if (hbm == NULL) return FALSE;
    BITMAP bm = {};
    GetObjectA(hbm, sizeof(bm), &bm);
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELONG(m_sizeImage.cx, m_sizeImage.cy));
    TBADDBITMAP tbab = {NULL, (UINT_PTR)hbm};
    int nImages = m_sizeImage.cx > 0 ? bm.bmWidth / m_sizeImage.cx : 0;
    if (SendMessage(TB_ADDBITMAP, nImages, (LPARAM)&tbab) == -1) {
        DeleteObject(hbm);
        return FALSE;
    }
    m_bHaveBitmap = TRUE;
    return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount) {
    while (SendMessage(TB_BUTTONCOUNT) > 0) SendMessage(TB_DELETEBUTTON, 0);
    int iImage = 0;
    for (int i = 0; i < nIDCount; ++i) {
        TBBUTTON button = {};
        button.idCommand = (int)lpIDArray[i];
        if (lpIDArray[i] == ID_SEPARATOR) {
            button.fsStyle = TBSTYLE_SEP;
            button.iBitmap = 6;
        } else {
            button.fsStyle = TBSTYLE_BUTTON;
            button.fsState = TBSTATE_ENABLED;
            button.iBitmap = iImage++;
        }
        if (!SendMessage(TB_ADDBUTTONSA, 1, (LPARAM)&button)) return FALSE;
    }
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELONG(m_sizeButton.cx, m_sizeButton.cy));
    return TRUE;
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage) {
    m_sizeButton = sizeButton;
    m_sizeImage = sizeImage;
    if (m_hWnd != NULL) {
        SendMessage(TB_SETBITMAPSIZE, 0, MAKELONG(sizeImage.cx, sizeImage.cy));
        SendMessage(TB_SETBUTTONSIZE, 0, MAKELONG(sizeButton.cx, sizeButton.cy));
    }
}

int CToolBar::GetButtonCount() const { return (int)SendMessage(TB_BUTTONCOUNT); }

UINT CToolBar::GetItemID(int nIndex) const {
    TBBUTTON button = {};
    SendMessage(TB_GETBUTTON, nIndex, (LPARAM)&button);
    return (UINT)button.idCommand;
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const {
    SendMessage(TB_GETITEMRECT, nIndex, (LPARAM)lpRect);
}

int CToolBar::CalcHeight(int) {
    DWORD dwSize = (DWORD)SendMessage(TB_GETBUTTONSIZE);
    int cy = HIWORD(dwSize) + 4;
    if (m_dwStyle & (CBRS_BORDER_TOP | CBRS_BORDER_BOTTOM)) cy += 2;
    return cy;
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    CCmdUI state;
    state.m_pToolBar = this;
    int nCount = GetButtonCount();
    for (int i = 0; i < nCount; ++i) {
        TBBUTTON button = {};
        SendMessage(TB_GETBUTTON, i, (LPARAM)&button);
        if (button.fsStyle & TBSTYLE_SEP) continue;
        state.m_nIndex = (UINT)i;
        state.m_nID = (UINT)button.idCommand;
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
}

// Fly-by: the prompt of the button under the mouse, the idle text when it leaves.
void CToolBar::OnHotItemChange(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    if ((m_dwStyle & CBRS_FLYBY) == 0) return;
    NMTBHOTITEM* pHot = (NMTBHOTITEM*)pNMHDR;
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame == nullptr) return;
    if (pHot->dwFlags & HICF_LEAVING) pFrame->SetMessageText(AFX_IDS_IDLEMESSAGE);
    else pFrame->SetMessageText((UINT)pHot->idNew);
}

// ---------------------------------------------------------------------------

CStatusBar::CStatusBar() {}

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    m_dwStyle = dwStyle & CBRS_ALL;
    DWORD dwWndStyle = (dwStyle & ~CBRS_ALL) | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    if ((pParentWnd->GetStyle() & WS_THICKFRAME) != 0) dwWndStyle |= SBARS_SIZEGRIP;
    return CreateEx(0, STATUSCLASSNAMEA, nullptr, dwWndStyle, 0, 0, 0, 0, pParentWnd->m_hWnd,
                    (HMENU)(UINT_PTR)nID);
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
    if (nIDCount <= 0) return FALSE;
    m_ids.assign(lpIDArray, lpIDArray + nIDCount);
    SetPartWidths();
    for (int i = 0; i < nIDCount; ++i) {
        CString strText;
        if (m_ids[i] != ID_SEPARATOR) strText.LoadString(m_ids[i]);
        else strText.LoadString(AFX_IDS_IDLEMESSAGE);
        SetPaneText(i, strText);
    }
    return TRUE;
}

void CStatusBar::SetPartWidths() {
    if (m_ids.empty()) return;
    RECT rc;
    GetClientRect(&rc);
    std::vector<int> edges(m_ids.size());
    // Indicators sit at the right, each wide enough for its text.
    int x = rc.right - 20;
    for (int i = (int)m_ids.size() - 1; i >= 0; --i) {
        edges[i] = i == (int)m_ids.size() - 1 ? -1 : x;
        if (i > 0) x -= 48;
    }
    SendMessage(SB_SETPARTS, (WPARAM)edges.size(), (LPARAM)edges.data());
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL) {
    return (BOOL)SendMessage(SB_SETTEXTA, (WPARAM)nIndex, (LPARAM)lpszNewText);
}

CString CStatusBar::GetPaneText(int nIndex) const {
    // The length message counts characters on some systems, not bytes: take
    // room for the double-byte worst case.
    CString strText;
    int nLength = LOWORD(SendMessage(SB_GETTEXTLENGTHA, nIndex));
    SendMessage(SB_GETTEXTA, nIndex, (LPARAM)strText.GetBuffer(2 * nLength + 2));
    strText.ReleaseBuffer();
    return strText;
}

int CStatusBar::CalcHeight(int) {
    RECT rc;
    GetWindowRect(&rc);
    int cy = rc.bottom - rc.top;
    if (cy <= 0) {
        HDC hDC = ::GetDC(m_hWnd);
        TEXTMETRICA tm;
        HFONT hOld = (HFONT)SelectObject(hDC, GetFont());
        GetTextMetricsA(hDC, &tm);
        SelectObject(hDC, hOld);
        ::ReleaseDC(m_hWnd, hDC);
        cy = tm.tmHeight + 8;
    }
    return cy;
}

void CStatusBar::LayoutInFrame(RECT& rcFrame) {
    // The control knows its own height: let it size itself first.
    HDC hDC = ::GetDC(m_hWnd);
    TEXTMETRICA tm;
    HFONT hOld = (HFONT)SelectObject(hDC, GetFont() ? GetFont() : (HFONT)GetStockObject(DEFAULT_GUI_FONT));
    GetTextMetricsA(hDC, &tm);
    SelectObject(hDC, hOld);
    ::ReleaseDC(m_hWnd, hDC);
    int cy = tm.tmHeight + 8;
    int cx = rcFrame.right - rcFrame.left;
    ::MoveWindow(m_hWnd, rcFrame.left, rcFrame.bottom - cy, cx, cy, TRUE);
    rcFrame.bottom -= cy;
    SetPartWidths();
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {}
