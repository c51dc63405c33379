// CSplitterWnd: a static splitter, a fixed grid of panes (here one row of
// columns) divided by bars the user drags to resize the columns. While a bar
// is dragged a tracker line follows the mouse; StopTracking applies the new
// width or throws it away.
#pragma once

#include <vector>

#include "framework/wnd.h"

class CView;

class CSplitterWnd : public CWnd {
    DECLARE_DYNAMIC(CSplitterWnd)
public:
    CSplitterWnd();

    BOOL CreateStatic(CWnd* pParentWnd, int nRows, int nCols,
                      DWORD dwStyle = WS_CHILD | WS_VISIBLE, UINT nID = 0xE900);
    // Makes a view of the class in the cell, with its column's ideal size.
    virtual BOOL CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit,
                            CCreateContext* pContext);

    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return m_nCols; }
    CWnd* GetPane(int row, int col) const;
    int IdFromRowCol(int row, int col) const { return 0xE900 + row * 16 + col; }
    // Current (laid out) and minimum width of a column.
    void GetColumnInfo(int col, int& cxCur, int& cxMin) const;
    void SetColumnInfo(int col, int cxIdeal, int cxMin);
    virtual void RecalcLayout();

    // Gives the next (or previous) pane the focus and makes it the active view.
    virtual void ActivateNext(BOOL bPrev = FALSE);
    CWnd* GetActivePane(int* pRow = NULL, int* pCol = NULL);

    // Drag of the bar right of column nCol, from a mouse point.
    virtual void StartTracking(int nCol, POINT ptStart);
    virtual void StopTracking(BOOL bAccept);
    BOOL IsTracking() const { return m_bTracking; }

    // Width of a bar in pixels.
    int m_cxSplitter;

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT nFlags, POINT point);
    afx_msg void OnLButtonUp(UINT nFlags, POINT point);
    afx_msg void OnMouseMove(UINT nFlags, POINT point);
    afx_msg BOOL OnSetCursor(HWND hWnd, UINT nHitTest, UINT message);
    afx_msg void OnCancelMode();
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnCaptureChanged(HWND hWnd);

protected:
    struct ColInfo {
        int nIdealSize;
        int nMinSize;
        int nCurSize;
    };
    int m_nRows;
    int m_nCols;
    std::vector<ColInfo> m_colInfo;
    BOOL m_bTracking;
    int m_nTrackCol;
    int m_xTrack;       // left edge of the tracker bar
    int m_xTrackStart;  // mouse x minus the bar's left edge at the start
    BOOL m_bTrackerShown;

    // The column whose right bar is under x, or -1.
    int HitTestBar(int x) const;
    void DrawTracker();

    DECLARE_MESSAGE_MAP()
};
