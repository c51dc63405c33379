// CMainFrame: the main window. Toolbar, the two panes in a splitter, and a
// one-pane status bar; it remembers its placement and the tree pane's width,
// can stay on top, and takes files dropped from the shell.
#pragma once

#include "framework/control_bars.h"
#include "framework/frame_wnd.h"
#include "ui/dir_pane_splitter.h"
#include "ui/main_drop_target.h"

class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame();

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL OnCreateClient(LPCREATESTRUCTA lpcs, CCreateContext* pContext) override;

    BOOL m_bAlwaysOnTop;
    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
    CDirPaneSplitter m_wndSplitter;
    CMainDropTarget m_dropTarget;  // files dragged from other programs

    afx_msg int OnCreate(LPCREATESTRUCTA lpcs);
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg void OnDropFiles(HDROP hDropInfo);
    afx_msg LRESULT OnMiniViewerClosed(WPARAM wParam, LPARAM lParam);
    // Copies changed in their programs are offered back when the program is
    // active again (main_frame_copies.cpp).
    afx_msg LRESULT OnActivateApp(WPARAM wParam, LPARAM lParam);
    afx_msg void OnAlwaysOnTop();
    afx_msg void OnUpdateAlwaysOnTop(CCmdUI* pCmdUI);
    // Help contents and F1: the user guide, zuvo.html beside the program.
    afx_msg void OnHelpGuide();

protected:
    DECLARE_MESSAGE_MAP()
};
