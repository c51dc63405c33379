// CMainFrame: the main window. Toolbar, the two panes in a splitter, and a
// one-pane status bar; it remembers its placement and the tree pane's width,
// can stay on top, and takes files dropped from the shell. Its commands that
// need a dialog before working on the whole archive, and the file list's view
// mode, are in main_frame_archive.cpp.
#pragma once

#include "framework/control_bars.h"
#include "framework/frame_wnd.h"
#include "ui/dir_pane_splitter.h"
#include "ui/main_drop_target.h"

class CArchiveDoc;
class CFileView;

class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame();

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL OnCreateClient(LPCREATESTRUCTA lpcs, CCreateContext* pContext) override;
    // The idle text counts the files shown (main_frame_navigate.cpp).
    void GetMessageString(UINT nID, CString& rMessage) const override;

    CArchiveDoc* GetArchiveDoc();
    CFileView* GetFileView() const;  // the right pane; NULL before it exists

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
    afx_msg void OnCompress();
    afx_msg void OnCompressDir();
    afx_msg void OnMakeSFX();
    // List (ID_VIEW_LIST) or details (ID_VIEW_DETAILS) in the file list.
    afx_msg void OnViewMode(UINT nID);
    afx_msg void OnUpdateViewMode(CCmdUI* pCmdUI);
    // Finding a file by name and re-reading the archive (main_frame_navigate.cpp).
    afx_msg void OnFind();
    afx_msg void OnUpdateFind(CCmdUI* pCmdUI);
    afx_msg void OnReread();
    afx_msg void OnUpdateReread(CCmdUI* pCmdUI);
    // Testing the archive (main_frame_test.cpp).
    afx_msg void OnTestArchive();
    afx_msg void OnUpdateTestArchive(CCmdUI* pCmdUI);

protected:
    DECLARE_MESSAGE_MAP()
};
