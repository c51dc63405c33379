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
    // The idle text counts the files shown (main_frame_navigate.cpp).
    void GetMessageString(UINT nID, CString& rMessage) const override;

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
    afx_msg void OnAlwaysOnTop();
    afx_msg void OnUpdateAlwaysOnTop(CCmdUI* pCmdUI);
    // Help contents and F1: the user guide, zuvo.html beside the program.
    afx_msg void OnHelpGuide();
    // Finding a file by name and re-reading the archive (main_frame_navigate.cpp).
    afx_msg void OnFind();
    afx_msg void OnUpdateFind(CCmdUI* pCmdUI);
    afx_msg void OnReread();
    afx_msg void OnUpdateReread(CCmdUI* pCmdUI);

protected:
    DECLARE_MESSAGE_MAP()
};
