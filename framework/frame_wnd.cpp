#include "framework/frame_wnd.h"

#include <dde.h>

#include "framework/afx_state.h"
#include "framework/cmd_ui.h"
#include "framework/control_bars.h"
#include "framework/document.h"
#include "framework/view.h"
#include "framework/winapp.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_MESSAGE(WM_INITMENUPOPUP, OnInitMenuPopup)
    ON_MESSAGE(WM_MENUSELECT, OnMenuSelect)
    ON_MESSAGE(WM_EXITMENULOOP, OnExitMenuLoop)
    ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_DDE_INITIATE, OnDDEInitiate)
    ON_MESSAGE(WM_DDE_EXECUTE, OnDDEExecute)
    ON_MESSAGE(WM_DDE_TERMINATE, OnDDETerminate)
    ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
    ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
    ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd()
    : m_hAccelTable(NULL), m_bAutoMenuEnable(TRUE), m_pViewActive(nullptr), m_nIDResource(0),
      m_hMenuDefault(NULL), m_nIDLastMessage(AFX_IDS_IDLEMESSAGE) {}

CFrameWnd::~CFrameWnd() {}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs) {
    if (cs.lpszClass == nullptr) {
        HICON hIcon = m_nIDResource ? LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDResource))
                                    : NULL;
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, LoadCursor(NULL, IDC_ARROW),
                                           (HBRUSH)(COLOR_BTNFACE + 1), hIcon);
    }
    if (cs.style & FWS_ADDTOTITLE) cs.style |= FWS_PREFIXTITLE;
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                          CCreateContext* pContext) {
    m_nIDResource = nIDResource;
    CString strFull;
    strFull.LoadString(nIDResource);
    int nNewline = strFull.Find('\n');
    m_strTitle = nNewline >= 0 ? strFull.Left(nNewline) : strFull;

    HINSTANCE hRes = AfxGetResourceHandle();
    m_hMenuDefault = LoadMenuA(hRes, MAKEINTRESOURCEA(nIDResource));
    m_hAccelTable = LoadAcceleratorsA(hRes, MAKEINTRESOURCEA(nIDResource));

    // FWS_ bits live only in the creation style; the window itself keeps the
    // WS_ part.
    if (!CreateEx(0, nullptr, m_strTitle, dwDefaultStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                  CW_USEDEFAULT, CW_USEDEFAULT, pParentWnd ? pParentWnd->m_hWnd : NULL,
                  m_hMenuDefault, (LPVOID)pContext)) {
        return FALSE;  // PostNcDestroy has deleted this object
    }
    if (dwDefaultStyle & FWS_ADDTOTITLE) OnUpdateFrameTitle(TRUE);
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCTA lpcs) {
    CCreateContext* pContext = (CCreateContext*)lpcs->lpCreateParams;
    return OnCreateHelper(lpcs, pContext) ? 0 : -1;
}

BOOL CFrameWnd::OnCreateHelper(LPCREATESTRUCTA lpcs, CCreateContext* pContext) {
    if (CWnd::OnCreate(lpcs) == -1) return FALSE;
    if (!OnCreateClient(lpcs, pContext)) return FALSE;
    RecalcLayout();
    return TRUE;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCTA, CCreateContext* pContext) {
    if (pContext != nullptr && pContext->m_pNewViewClass != nullptr)
        return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID) {
    CWnd* pView = static_cast<CWnd*>(pContext->m_pNewViewClass->CreateObject());
    if (pView == nullptr) return nullptr;
    RECT rc = {0, 0, 0, 0};
    if (!pView->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, rc, this, nID, pContext))
        return nullptr;  // the view deleted itself
    return pView;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify) {
    CView* pViewOld = m_pViewActive;
    if (pViewNew == pViewOld) return;
    m_pViewActive = pViewNew;
    if (bNotify && pViewOld != nullptr) pViewOld->OnActivateView(FALSE, pViewNew, pViewOld);
    if (bNotify && pViewNew != nullptr) pViewNew->OnActivateView(TRUE, pViewNew, pViewOld);
}

CView* CFrameWnd::GetFocusView() const {
    for (HWND hWnd = ::GetFocus(); hWnd != NULL && hWnd != m_hWnd; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CView)) && pWnd->GetParentFrame() == this)
            return static_cast<CView*>(pWnd);
    }
    return nullptr;
}

CDocument* CFrameWnd::GetActiveDocument() {
    return m_pViewActive != nullptr ? m_pViewActive->GetDocument() : nullptr;
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) const {
    CWnd* pWnd = CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, nID));
    if (pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CControlBar)))
        return static_cast<CControlBar*>(pWnd);
    return nullptr;
}

void CFrameWnd::RecalcLayout(BOOL) {
    if (m_hWnd == NULL) return;
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    for (HWND hChild = ::GetTopWindow(m_hWnd); hChild != NULL;
         hChild = ::GetNextWindow(hChild, GW_HWNDNEXT)) {
        CWnd* pWnd = CWnd::FromHandlePermanent(hChild);
        if (pWnd == nullptr || !pWnd->IsKindOf(RUNTIME_CLASS(CControlBar))) continue;
        if (!::IsWindowVisible(hChild)) continue;
        static_cast<CControlBar*>(pWnd)->LayoutInFrame(rc);
    }
    HWND hPane = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST);
    if (hPane != NULL)
        ::MoveWindow(hPane, rc.left, rc.top, rc.right - rc.left,
                     rc.bottom > rc.top ? rc.bottom - rc.top : 0, TRUE);
}

void CFrameWnd::OnSize(UINT nType, int, int) {
    CWnd::Default();
    if (nType != SIZE_MINIMIZED) RecalcLayout();
}

void CFrameWnd::OnSetFocus(HWND hOldWnd) {
    if (m_pViewActive != nullptr && m_pViewActive->m_hWnd != NULL) {
        m_pViewActive->SetFocus();
        // A view that hosts a control hands the focus on itself.
    } else {
        CWnd::OnSetFocus(hOldWnd);
    }
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    if ((GetStyle() & FWS_ADDTOTITLE) == 0 && !bAddToTitle) return;
    CDocument* pDoc = GetActiveDocument();
    if (pDoc == nullptr) {
        // Before the views are active, the frame's first view knows the document.
        HWND hPane = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST);
        CWnd* pPane = CWnd::FromHandlePermanent(hPane);
        if (pPane != nullptr && pPane->IsKindOf(RUNTIME_CLASS(CView)))
            pDoc = static_cast<CView*>(pPane)->GetDocument();
    }
    CString strText = m_strTitle;
    if (bAddToTitle && pDoc != nullptr && !pDoc->GetTitle().IsEmpty())
        strText = pDoc->GetTitle() + " - " + m_strTitle;
    CString strOld;
    GetWindowText(strOld);
    if (strOld != strText) SetWindowText(strText);
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) {
    CView* pView = GetActiveView();
    if (pView == nullptr) {
        // The first pane, or the first view of a splitter in it.
        HWND hPane = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST);
        CWnd* pPane = CWnd::FromHandlePermanent(hPane);
        if (pPane != nullptr && pPane->IsKindOf(RUNTIME_CLASS(CView))) {
            pView = static_cast<CView*>(pPane);
        } else if (hPane != NULL) {
            CWnd* pChild = CWnd::FromHandlePermanent(::GetDlgItem(hPane, AFX_IDW_PANE_FIRST));
            if (pChild != nullptr && pChild->IsKindOf(RUNTIME_CLASS(CView)))
                pView = static_cast<CView*>(pChild);
        }
    }
    if (bMakeVisible) {
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE);
        // A view that took the focus in its initial update gets the commands.
        if (CView* pFocusView = GetFocusView()) pView = pFocusView;
        if (pView != nullptr) SetActiveView(pView, FALSE);
    }
    OnUpdateFrameTitle(TRUE);
    if (bMakeVisible && !IsWindowVisible()) {
        int nCmdShow = SW_SHOW;
        CWinApp* pApp = AfxGetApp();
        if (pApp != nullptr && pApp->m_pMainWnd == this) {
            nCmdShow = pApp->m_nCmdShow;
            pApp->m_nCmdShow = -1;  // only the first show takes the shell's command
            if (nCmdShow == -1) nCmdShow = SW_SHOW;
        }
        ShowWindow(nCmdShow);
        UpdateWindow();
        if (pView != nullptr && !IsIconic()) pView->OnActivateView(TRUE, pView, nullptr);
    }
    (void)pDoc;
}

CWnd* CFrameWnd::GetMessageBar() const {
    return CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, AFX_IDW_STATUS_BAR));
}

// Only a changed text is set: the idle text is set again and again.
static void ShowMessageText(CWnd* pBar, LPCSTR lpszText) {
    if (pBar == nullptr || !pBar->IsKindOf(RUNTIME_CLASS(CStatusBar))) return;
    CStatusBar* pStatusBar = static_cast<CStatusBar*>(pBar);
    if (pStatusBar->GetPaneText(0) != lpszText) pStatusBar->SetPaneText(0, lpszText);
}

void CFrameWnd::SetMessageText(LPCSTR lpszText) {
    m_nIDLastMessage = 0;
    ShowMessageText(GetMessageBar(), lpszText);
}

void CFrameWnd::SetMessageText(UINT nID) {
    CString strMessage;
    GetMessageString(nID, strMessage);
    m_nIDLastMessage = nID;
    ShowMessageText(GetMessageBar(), strMessage);
}

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const {
    CString strFull;
    strFull.LoadString(nID);
    int nNewline = strFull.Find('\n');
    rMessage = nNewline >= 0 ? strFull.Left(nNewline) : strFull;
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam) {
    if (lParam != 0) SetMessageText((LPCSTR)lParam);
    else SetMessageText((UINT)wParam);
    return 0;
}

LRESULT CFrameWnd::OnMenuSelect(WPARAM wParam, LPARAM lParam) {
    UINT nItemID = LOWORD(wParam);
    UINT nFlags = HIWORD(wParam);
    if (nFlags == 0xFFFF && lParam == 0) {
        SetMessageText(AFX_IDS_IDLEMESSAGE);  // the menu closed
    } else if (nFlags & (MF_POPUP | MF_SEPARATOR | MF_SYSMENU)) {
        SetMessageText("");
    } else {
        SetMessageText(nItemID);
    }
    return 0;
}

LRESULT CFrameWnd::OnExitMenuLoop(WPARAM, LPARAM) {
    SetMessageText(AFX_IDS_IDLEMESSAGE);
    return 0;
}

LRESULT CFrameWnd::OnInitMenuPopup(WPARAM wParam, LPARAM lParam) {
    HMENU hMenu = (HMENU)wParam;
    if (HIWORD(lParam)) return Default();  // the system menu is the system's
    CCmdUI state;
    state.m_hMenu = hMenu;
    int nCount = GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; ++i) {
        UINT nID = GetMenuItemID(hMenu, i);
        if (nID == 0 || nID == (UINT)-1) continue;  // separator or sub-menu
        state.m_nIndex = (UINT)i;
        state.m_nID = nID;
        state.DoUpdate(this, m_bAutoMenuEnable);
        // An update handler may have put several items in place of one.
        int nNewCount = GetMenuItemCount(hMenu);
        if (nNewCount != nCount) {
            i += nNewCount - nCount;
            nCount = nNewCount;
        }
    }
    return 0;
}

void CFrameWnd::UpdateControlBars() {
    for (HWND hChild = ::GetTopWindow(m_hWnd); hChild != NULL;
         hChild = ::GetNextWindow(hChild, GW_HWNDNEXT)) {
        CWnd* pWnd = CWnd::FromHandlePermanent(hChild);
        if (pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CControlBar)) &&
            ::IsWindowVisible(hChild))
            static_cast<CControlBar*>(pWnd)->OnUpdateCmdUI(this, TRUE);
    }
    // The idle text may say what the window shows, which has changed.
    if (m_nIDLastMessage == AFX_IDS_IDLEMESSAGE) SetMessageText(AFX_IDS_IDLEMESSAGE);
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
    UpdateControlBars();
    return 0;
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hAccelTable != NULL)
        return ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg);
    return FALSE;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (m_pViewActive != nullptr && m_pViewActive->m_hWnd != NULL &&
        m_pViewActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    NMHDR* pNMHDR = (NMHDR*)lParam;
    // Tooltips of the bars: the text after the newline of the command's string.
    if (pNMHDR->code == TTN_GETDISPINFOA || pNMHDR->code == TTN_GETDISPINFOW) {
        static char szTip[128];
        static WCHAR wszTip[128];
        CString strFull;
        UINT nID = (UINT)pNMHDR->idFrom;
        if (strFull.LoadString(nID)) {
            int nNewline = strFull.Find('\n');
            CString strTip = nNewline >= 0 ? strFull.Mid(nNewline + 1) : strFull;
            lstrcpynA(szTip, strTip, sizeof(szTip));
        } else {
            szTip[0] = '\0';
        }
        if (pNMHDR->code == TTN_GETDISPINFOA) {
            ((NMTTDISPINFOA*)pNMHDR)->lpszText = szTip;
        } else {
            MultiByteToWideChar(CP_ACP, 0, szTip, -1, wszTip, 128);
            ((NMTTDISPINFOW*)pNMHDR)->lpszText = wszTip;
        }
        *pResult = 0;
        return TRUE;
    }
    return CWnd::OnNotify(wParam, lParam, pResult);
}

void CFrameWnd::OnClose() {
    CWinApp* pApp = AfxGetApp();
    CDocument* pDoc = GetActiveDocument();
    if (pDoc != nullptr && !pDoc->CanCloseFrame(this)) return;
    if (pApp != nullptr && pApp->m_pMainWnd == this) {
        // Closing the main window closes the documents, which destroys it and
        // this object with it: only the handle may be looked at afterwards.
        HWND hWnd = m_hWnd;
        pApp->CloseAllDocuments(FALSE);
        if (!::IsWindow(hWnd)) return;
    }
    if (pDoc != nullptr && m_hWnd != NULL) {
        pDoc->OnCloseDocument();
        return;
    }
    if (m_hWnd != NULL) DestroyWindow();
}

void CFrameWnd::OnDestroy() {
    // The menu loaded for the frame goes with it.
    if (m_hMenuDefault != NULL && ::GetMenu(m_hWnd) != m_hMenuDefault) {
        DestroyMenu(m_hMenuDefault);
    }
    m_hMenuDefault = NULL;
    m_pViewActive = nullptr;
    CWnd::OnDestroy();
}

void CFrameWnd::PostNcDestroy() { delete this; }

BOOL CFrameWnd::OnBarCheck(UINT nID) {
    CControlBar* pBar = GetControlBar(nID);
    if (pBar == nullptr) return FALSE;
    pBar->ShowWindow(pBar->IsWindowVisible() ? SW_HIDE : SW_SHOW);
    RecalcLayout();
    return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI) {
    CControlBar* pBar = GetControlBar(pCmdUI->m_nID);
    if (pBar == nullptr) {
        pCmdUI->ContinueRouting();
        return;
    }
    pCmdUI->SetCheck(pBar->IsWindowVisible() ? 1 : 0);
}

static void ShowHelp(HWND hWnd, UINT nCommand) {
    char szPath[MAX_PATH];
    GetModuleFileNameA(NULL, szPath, MAX_PATH);
    char* pDot = strrchr(szPath, '.');
    if (pDot != nullptr) lstrcpyA(pDot, ".HLP");
    WinHelpA(hWnd, szPath, nCommand, 0);
}

void CFrameWnd::OnHelpFinder() { ShowHelp(m_hWnd, HELP_FINDER); }
void CFrameWnd::OnHelp() { ShowHelp(m_hWnd, HELP_CONTENTS); }

// DDE open: the shell asks "system" of the program by name and sends
// [open("path")].
LRESULT CFrameWnd::OnDDEInitiate(WPARAM wParam, LPARAM lParam) {
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr || pApp->m_atomApp == 0) return 0;
    ATOM atomApp = LOWORD(lParam);
    ATOM atomTopic = HIWORD(lParam);
    if (atomApp == pApp->m_atomApp && atomTopic == pApp->m_atomSystemTopic) {
        ::SendMessageA((HWND)wParam, WM_DDE_ACK, (WPARAM)m_hWnd,
                       MAKELPARAM(GlobalAddAtomA(pApp->m_strAtomApp),
                                  GlobalAddAtomA("system")));
    }
    return 0;
}

LRESULT CFrameWnd::OnDDEExecute(WPARAM wParam, LPARAM lParam) {
    UINT_PTR uLo = 0, uHi = 0;
    UnpackDDElParam(WM_DDE_EXECUTE, lParam, &uLo, &uHi);
    HGLOBAL hData = (HGLOBAL)uHi;
    BOOL bDone = FALSE;
    if (LPCSTR pszCommand = (LPCSTR)GlobalLock(hData)) {
        CString strCommand(pszCommand);
        GlobalUnlock(hData);
        CWinApp* pApp = AfxGetApp();
        bDone = pApp != nullptr && pApp->OnDDECommand(strCommand.GetBuffer(0));
    }
    WORD wStatus = bDone ? 0x8000 : 0;  // fAck
    ::PostMessageA((HWND)wParam, WM_DDE_ACK, (WPARAM)m_hWnd,
                   ReuseDDElParam(lParam, WM_DDE_EXECUTE, WM_DDE_ACK, wStatus, (UINT_PTR)hData));
    return 0;
}

LRESULT CFrameWnd::OnDDETerminate(WPARAM wParam, LPARAM) {
    ::PostMessageA((HWND)wParam, WM_DDE_TERMINATE, (WPARAM)m_hWnd, 0);
    return 0;
}
