// CFrameWnd: a top-level window with a menu, accelerators, control bars and a
// client pane. It keeps the active view and routes commands: active view (and
// its document), the frame itself, then the application.
#pragma once

#include "framework/wnd.h"

class CView;
class CDocument;
class CControlBar;

// Frame style bits beyond the window style.
#define FWS_ADDTOTITLE 0x00008000L
#define FWS_PREFIXTITLE 0x00004000L

// Child ids of the standard frame parts.
#define AFX_IDW_TOOLBAR 0xE800
#define AFX_IDW_STATUS_BAR 0xE801
#define AFX_IDW_PANE_FIRST 0xE900
#define AFX_IDW_PANE_LAST 0xE9FF

// Framework commands and strings the frame uses.
#define AFX_IDS_IDLEMESSAGE 0xE001
#define ID_VIEW_TOOLBAR 0xE800
#define ID_VIEW_STATUS_BAR 0xE801
#define ID_NEXT_PANE 0xE150
#define ID_PREV_PANE 0xE151
#define ID_HELP_FINDER 0xE143
#define ID_HELP 0xE146
#define ID_SEPARATOR 0

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd();
    ~CFrameWnd() override;

    // Creates the frame from resource nIDResource: title (the text before the
    // first newline of that string), menu, icon and accelerators.
    virtual BOOL LoadFrame(UINT nIDResource,
                           DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL);
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    virtual BOOL OnCreateClient(LPCREATESTRUCTA lpcs, CCreateContext* pContext);
    // Makes a view of the context's view class as child nID of this frame.
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);

    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    // The view that holds the keyboard focus, itself or in one of its children.
    CView* GetFocusView() const;
    virtual CDocument* GetActiveDocument();

    // Lays out the bars (top and bottom) and the client pane.
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    // Sends the initial update to the views, picks the active view and shows
    // the frame (the application's show command for the main window).
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);

    // The status bar's message pane. The idle text (AFX_IDS_IDLEMESSAGE) is
    // asked for again at every idle time while no prompt has replaced it.
    void SetMessageText(LPCSTR lpszText);
    void SetMessageText(UINT nID);
    // The prompt of a command: its string up to the newline.
    virtual void GetMessageString(UINT nID, CString& rMessage) const;
    CWnd* GetMessageBar() const;
    CControlBar* GetControlBar(UINT nID) const;
    // Updates the buttons of the frame's bars (called at idle time).
    void UpdateControlBars();

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void PostNcDestroy() override;

    HACCEL m_hAccelTable;
    BOOL m_bAutoMenuEnable;  // menu items without a handler are disabled
    CString m_strTitle;

    afx_msg int OnCreate(LPCREATESTRUCTA lpcs);
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(HWND hOldWnd);
    afx_msg LRESULT OnInitMenuPopup(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMenuSelect(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnExitMenuLoop(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDDEInitiate(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDDEExecute(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDDETerminate(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnBarCheck(UINT nID);
    afx_msg void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    afx_msg void OnHelpFinder();
    afx_msg void OnHelp();

protected:
    CView* m_pViewActive;
    UINT m_nIDResource;
    HMENU m_hMenuDefault;
    UINT m_nIDLastMessage;  // the string the message pane shows; 0 for other text

    BOOL OnCreateHelper(LPCREATESTRUCTA lpcs, CCreateContext* pContext);

    DECLARE_MESSAGE_MAP()
};
