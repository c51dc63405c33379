// CMiniViewFrame: the MiniViewer, a small top-level window that shows one
// entry's text read-only under a toolbar. It keeps its place and font in the
// settings, lets the user copy, select all and change the font, and tells the
// main window when it closes.
#pragma once

#include "framework/control_bars.h"
#include "framework/controls.h"
#include "framework/font.h"
#include "framework/frame_wnd.h"

class CMiniViewFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMiniViewFrame)
public:
    CMiniViewFrame();
    ~CMiniViewFrame() override;

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    // Replaces the whole text, up to its first zero byte.
    void SetText(LPCSTR lpszText);

    CRichEditCtrl m_wndEdit;  // the text; the caller sets its window text
    CToolBar m_wndToolBar;
    CFont* m_pFont;           // owned

    afx_msg int OnCreate(LPCREATESTRUCTA lpcs);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnClose();
    afx_msg void OnSetFocus(HWND hOldWnd);
    afx_msg void OnEditCopy();
    afx_msg void OnUpdateEditCopy(CCmdUI* pCmdUI);
    afx_msg void OnEditSelectAll();
    afx_msg void OnFileClose();
    afx_msg void OnFont();

protected:
    void PostNcDestroy() override;

    DECLARE_MESSAGE_MAP()
};
