#include "framework/splitter_wnd.h"

#include "framework/frame_wnd.h"
#include "framework/view.h"

IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)

BEGIN_MESSAGE_MAP(CSplitterWnd, CWnd)
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_SETCURSOR()
    ON_WM_CANCELMODE()
    ON_WM_KEYDOWN()
    ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

CSplitterWnd::CSplitterWnd()
    : m_cxSplitter(6), m_nRows(0), m_nCols(0), m_bTracking(FALSE), m_nTrackCol(-1), m_xTrack(0),
      m_xTrackStart(0), m_bTrackerShown(FALSE) {}

BOOL CSplitterWnd::CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle, UINT nID) {
    if (nRows != 1 || nCols < 1 || nCols > 16) return FALSE;  // one row of columns
    m_nRows = nRows;
    m_nCols = nCols;
    m_colInfo.assign(nCols, ColInfo{0, 0, 0});
    LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, NULL, (HBRUSH)(COLOR_BTNFACE + 1));
    return CreateEx(0, lpszClass, nullptr, dwStyle | WS_CLIPCHILDREN, 0, 0, 0, 0,
                    pParentWnd->m_hWnd, (HMENU)(UINT_PTR)nID);
}

BOOL CSplitterWnd::CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit,
                              CCreateContext* pContext) {
    if (row != 0 || col < 0 || col >= m_nCols || pViewClass == nullptr) return FALSE;
    m_colInfo[col].nIdealSize = sizeInit.cx;
    CWnd* pView = static_cast<CWnd*>(pViewClass->CreateObject());
    if (pView == nullptr) return FALSE;
    RECT rc = {0, 0, sizeInit.cx, sizeInit.cy};
    if (!pView->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW & ~WS_BORDER, rc, this,
                       (UINT)IdFromRowCol(row, col), pContext))
        return FALSE;  // the view deleted itself
    return TRUE;
}

CWnd* CSplitterWnd::GetPane(int row, int col) const {
    return CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, IdFromRowCol(row, col)));
}

void CSplitterWnd::GetColumnInfo(int col, int& cxCur, int& cxMin) const {
    cxCur = m_colInfo[col].nCurSize;
    cxMin = m_colInfo[col].nMinSize;
}

void CSplitterWnd::SetColumnInfo(int col, int cxIdeal, int cxMin) {
    m_colInfo[col].nIdealSize = cxIdeal;
    m_colInfo[col].nMinSize = cxMin;
}

void CSplitterWnd::RecalcLayout() {
    if (m_hWnd == NULL || m_nCols == 0) return;
    RECT rc;
    GetClientRect(&rc);
    int cyPane = rc.bottom;
    int x = 0;
    HDWP hdwp = BeginDeferWindowPos(m_nCols);
    for (int col = 0; col < m_nCols; ++col) {
        int cx;
        if (col == m_nCols - 1) {
            cx = rc.right - x;
        } else {
            cx = m_colInfo[col].nIdealSize;
            int cxMax = rc.right - x - m_cxSplitter;
            if (cx > cxMax) cx = cxMax;
        }
        if (cx < 0) cx = 0;
        m_colInfo[col].nCurSize = cx;
        HWND hPane = ::GetDlgItem(m_hWnd, IdFromRowCol(0, col));
        if (hPane != NULL && hdwp != NULL)
            hdwp = DeferWindowPos(hdwp, hPane, NULL, x, 0, cx, cyPane, SWP_NOZORDER | SWP_NOACTIVATE);
        x += cx + m_cxSplitter;
    }
    if (hdwp != NULL) EndDeferWindowPos(hdwp);
    ::InvalidateRect(m_hWnd, NULL, TRUE);
}

void CSplitterWnd::OnSize(UINT nType, int, int) {
    if (nType != SIZE_MINIMIZED) RecalcLayout();
}

void CSplitterWnd::OnPaint() {
    PAINTSTRUCT ps;
    HDC hDC = BeginPaint(m_hWnd, &ps);
    RECT rc;
    GetClientRect(&rc);
    int x = 0;
    for (int col = 0; col + 1 < m_nCols; ++col) {
        x += m_colInfo[col].nCurSize;
        RECT rcBar = {x, 0, x + m_cxSplitter, rc.bottom};
        FillRect(hDC, &rcBar, GetSysColorBrush(COLOR_BTNFACE));
        DrawEdge(hDC, &rcBar, EDGE_RAISED, BF_LEFT | BF_RIGHT);
        x += m_cxSplitter;
    }
    EndPaint(m_hWnd, &ps);
}

int CSplitterWnd::HitTestBar(int xPoint) const {
    int x = 0;
    for (int col = 0; col + 1 < m_nCols; ++col) {
        x += m_colInfo[col].nCurSize;
        if (xPoint >= x && xPoint < x + m_cxSplitter) return col;
        x += m_cxSplitter;
    }
    return -1;
}

BOOL CSplitterWnd::OnSetCursor(HWND hWnd, UINT nHitTest, UINT message) {
    if (hWnd == m_hWnd && nHitTest == HTCLIENT) {
        ::SetCursor(LoadCursor(NULL, IDC_SIZEWE));
        return TRUE;
    }
    return CWnd::OnSetCursor(hWnd, nHitTest, message);
}

void CSplitterWnd::OnLButtonDown(UINT, POINT point) {
    int nCol = HitTestBar(point.x);
    if (nCol >= 0) StartTracking(nCol, point);
}

void CSplitterWnd::StartTracking(int nCol, POINT ptStart) {
    if (m_bTracking || nCol < 0 || nCol + 1 >= m_nCols) return;
    int xBar = 0;
    for (int col = 0; col <= nCol; ++col) xBar += m_colInfo[col].nCurSize + (col ? m_cxSplitter : 0);
    m_nTrackCol = nCol;
    m_xTrack = xBar;
    m_xTrackStart = ptStart.x - xBar;
    m_bTracking = TRUE;
    ::SetCapture(m_hWnd);
    ::SetFocus(m_hWnd);  // Esc cancels
    DrawTracker();
}

void CSplitterWnd::OnMouseMove(UINT, POINT point) {
    if (!m_bTracking) return;
    RECT rc;
    GetClientRect(&rc);
    // The column starts after the bars and columns to its left.
    int xColStart = 0;
    for (int col = 0; col < m_nTrackCol; ++col) xColStart += m_colInfo[col].nCurSize + m_cxSplitter;
    int x = point.x - m_xTrackStart;
    if (x < xColStart) x = xColStart;
    if (x > rc.right - m_cxSplitter) x = rc.right - m_cxSplitter;
    if (x == m_xTrack) return;
    DrawTracker();  // erase
    m_xTrack = x;
    DrawTracker();
}

void CSplitterWnd::OnLButtonUp(UINT, POINT) {
    if (m_bTracking) StopTracking(TRUE);
}

void CSplitterWnd::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (m_bTracking && nChar == VK_ESCAPE) StopTracking(FALSE);
    else if (m_bTracking && nChar == VK_RETURN) StopTracking(TRUE);
    else CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CSplitterWnd::OnCancelMode() {
    if (m_bTracking) StopTracking(FALSE);
    CWnd::OnCancelMode();
}

void CSplitterWnd::OnCaptureChanged(HWND hWnd) {
    if (m_bTracking && hWnd != m_hWnd) StopTracking(FALSE);
    CWnd::OnCaptureChanged(hWnd);
}

void CSplitterWnd::StopTracking(BOOL bAccept) {
    if (!m_bTracking) return;
    m_bTracking = FALSE;  // first: releasing the capture comes back here
    if (m_bTrackerShown) DrawTracker();
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    if (bAccept) {
        int xColStart = 0;
        for (int col = 0; col < m_nTrackCol; ++col) xColStart += m_colInfo[col].nCurSize + m_cxSplitter;
        m_colInfo[m_nTrackCol].nIdealSize = m_xTrack - xColStart;
        RecalcLayout();
    }
    // The focus returns to the active view.
    if (CFrameWnd* pFrame = GetParentFrame()) {
        if (CView* pView = pFrame->GetActiveView()) pView->SetFocus();
    }
}

void CSplitterWnd::DrawTracker() {
    RECT rc;
    GetClientRect(&rc);
    HDC hDC = ::GetDCEx(m_hWnd, NULL, DCX_CACHE | DCX_LOCKWINDOWUPDATE | DCX_CLIPSIBLINGS);
    HBRUSH hOld = (HBRUSH)SelectObject(hDC, GetStockObject(GRAY_BRUSH));
    PatBlt(hDC, m_xTrack, 0, m_cxSplitter, rc.bottom, PATINVERT);
    SelectObject(hDC, hOld);
    ::ReleaseDC(m_hWnd, hDC);
    m_bTrackerShown = !m_bTrackerShown;
}

CWnd* CSplitterWnd::GetActivePane(int* pRow, int* pCol) {
    CFrameWnd* pFrame = GetParentFrame();
    CWnd* pView = pFrame != nullptr ? (CWnd*)pFrame->GetActiveView() : nullptr;
    for (int col = 0; col < m_nCols; ++col) {
        if (GetPane(0, col) == pView && pView != nullptr) {
            if (pRow) *pRow = 0;
            if (pCol) *pCol = col;
            return pView;
        }
    }
    return nullptr;
}

void CSplitterWnd::ActivateNext(BOOL bPrev) {
    int col = -1;
    GetActivePane(nullptr, &col);
    if (col < 0) col = bPrev ? 0 : m_nCols - 1;
    int nNext = bPrev ? (col + m_nCols - 1) % m_nCols : (col + 1) % m_nCols;
    CWnd* pPane = GetPane(0, nNext);
    if (pPane == nullptr) return;
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != nullptr && pPane->IsKindOf(RUNTIME_CLASS(CView)))
        pFrame->SetActiveView(static_cast<CView*>(pPane));
    else
        pPane->SetFocus();
}
