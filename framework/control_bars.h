// Control bars over the common controls: CToolBar (a row of command buttons
// with tooltips and fly-by prompts) and CStatusBar (message pane and
// indicators). The frame lays them out at its top and bottom edges.
#pragma once

#include <vector>

#include "framework/wnd.h"

class CFrameWnd;

// Bar styles, kept beside the window style.
#define CBRS_BORDER_LEFT 0x0100L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BORDER_RIGHT 0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)
#define CBRS_ALL 0xFFFFL

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    CControlBar();

    DWORD GetBarStyle() const { return m_dwStyle; }
    virtual void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
    // Sets the bar's buttons or panes from the update handlers of pTarget.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;
    // Takes the bar's strip off rcFrame (top or bottom) and moves the bar there.
    virtual void LayoutInFrame(RECT& rcFrame);

protected:
    DWORD m_dwStyle;
    // The bar's own height at the given width.
    virtual int CalcHeight(int cx) = 0;
};

class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    CToolBar();

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                UINT nID = 0xE800);
    // A toolbar resource: the button size and the command ids in order (0 a
    // gap), with the bitmap of the same id.
    BOOL LoadToolBar(UINT nIDResource);
    // A strip of button images, one per non-gap button, in order.
    BOOL LoadBitmap(UINT nIDResource);
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);
    void SetSizes(SIZE sizeButton, SIZE sizeImage);
    int GetButtonCount() const;
    UINT GetItemID(int nIndex) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;

    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

protected:
    int CalcHeight(int cx) override;
    SIZE m_sizeImage;
    SIZE m_sizeButton;
    BOOL m_bHaveBitmap;

    afx_msg void OnHotItemChange(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()
};

class CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)
public:
    CStatusBar();

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT nID = 0xE801);
    // One pane per id; ID_SEPARATOR (0) is the stretching message pane, other
    // ids are indicators showing their string.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    BOOL SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate = TRUE);
    CString GetPaneText(int nIndex) const;
    int GetPaneCount() const { return (int)m_ids.size(); }

    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void LayoutInFrame(RECT& rcFrame) override;

protected:
    int CalcHeight(int cx) override;
    std::vector<UINT> m_ids;
    void SetPartWidths();
};
