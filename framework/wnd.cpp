#include "framework/wnd.h"

#include <map>

#include "framework/afx_state.h"
#include "framework/archive_exception.h"
#include "framework/cmd_ui.h"
#include "framework/frame_wnd.h"
#include "framework/msgbox.h"
#include "framework/winapp.h"

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

namespace {

// Handle-to-object maps; one user-interface thread, so no lock.
std::map<HWND, CWnd*>& PermanentMap() {
    static std::map<HWND, CWnd*> map;
    return map;
}
std::map<HWND, CWnd*>& TemporaryMap() {
    static std::map<HWND, CWnd*> map;
    return map;
}

// The message being handled, for Default().
struct CurrentMessage {
    HWND hWnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
CurrentMessage g_current = {};

CWnd* g_pWndInit = nullptr;
HHOOK g_hHookCreate = NULL;

LRESULT CALLBACK CreateHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HCBT_CREATEWND && g_pWndInit != nullptr) {
        CWnd* pWnd = g_pWndInit;
        g_pWndInit = nullptr;
        pWnd->SubclassWindow((HWND)wParam);
    }
    return CallNextHookEx(g_hHookCreate, nCode, wParam, lParam);
}

}  // namespace

void AfxHookWindowCreate(CWnd* pWnd) {
    if (g_hHookCreate == NULL)
        g_hHookCreate = SetWindowsHookExA(WH_CBT, CreateHookProc, NULL, GetCurrentThreadId());
    g_pWndInit = pWnd;
}

BOOL AfxUnhookWindowCreate() {
    BOOL bAttached = g_pWndInit == nullptr;
    g_pWndInit = nullptr;
    if (g_hHookCreate != NULL) {
        UnhookWindowsHookEx(g_hHookCreate);
        g_hHookCreate = NULL;
    }
    return bAttached;
}

LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
    static char names[16][64];
    static int nNames = 0;
    char name[64];
    wsprintfA(name, "ZuvoWnd:%x:%x:%x:%x", nClassStyle, (UINT)(UINT_PTR)hCursor,
              (UINT)(UINT_PTR)hbrBackground, (UINT)(UINT_PTR)hIcon);
    for (int i = 0; i < nNames; ++i)
        if (lstrcmpA(names[i], name) == 0) return names[i];
    WNDCLASSA wc = {};
    wc.style = nClassStyle;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.hIcon = hIcon;
    wc.lpszClassName = name;
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
    if (nNames == 16) return nullptr;
    lstrcpyA(names[nNames], name);
    return names[nNames++];
}

CWnd* AfxGetMainWnd() {
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr ? pApp->m_pMainWnd : nullptr;
}

CWnd::CWnd() : m_hWnd(NULL), m_pfnSuper(nullptr), m_bTemporary(FALSE) {}

CWnd::~CWnd() {
    if (m_hWnd != NULL && !m_bTemporary) {
        // A window object that goes first takes its window with it.
        if (FromHandlePermanent(m_hWnd) == this) DestroyWindow();
        if (m_hWnd != NULL) Detach();
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    auto it = PermanentMap().find(hWnd);
    return it == PermanentMap().end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (hWnd == NULL) return nullptr;
    if (CWnd* pWnd = FromHandlePermanent(hWnd)) return pWnd;
    CWnd*& pTemp = TemporaryMap()[hWnd];
    if (pTemp == nullptr) {
        pTemp = new CWnd;
        pTemp->m_hWnd = hWnd;
        pTemp->m_bTemporary = TRUE;
    }
    return pTemp;
}

void CWnd::DeleteTempMap() {
    for (auto& entry : TemporaryMap()) {
        entry.second->m_hWnd = NULL;
        delete entry.second;
    }
    TemporaryMap().clear();
}

BOOL CWnd::Attach(HWND hWnd) {
    if (hWnd == NULL) return FALSE;
    m_hWnd = hWnd;
    PermanentMap()[hWnd] = this;
    auto it = TemporaryMap().find(hWnd);
    if (it != TemporaryMap().end()) {
        it->second->m_hWnd = NULL;
        delete it->second;
        TemporaryMap().erase(it);
    }
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd != NULL) {
        auto it = PermanentMap().find(hWnd);
        if (it != PermanentMap().end() && it->second == this) PermanentMap().erase(it);
    }
    m_hWnd = NULL;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!Attach(hWnd)) return FALSE;
    WNDPROC pfnOld = (WNDPROC)SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)AfxWndProc);
    if (pfnOld != AfxWndProc) m_pfnSuper = pfnOld;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    HWND hWndControl = ::GetDlgItem(pParent->m_hWnd, nID);
    return hWndControl != NULL && SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow() {
    if (m_pfnSuper != nullptr) SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
    m_pfnSuper = nullptr;
    return Detach();
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA& cs) {
    if (cs.lpszClass == nullptr)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, LoadCursor(NULL, IDC_ARROW),
                                           (HBRUSH)(COLOR_WINDOW + 1));
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                    int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                    LPVOID lpParam) {
    CREATESTRUCTA cs = {};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = (LONG)dwStyle;
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    AfxHookWindowCreate(this);
    HWND hWnd = CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, (DWORD)cs.style, cs.x, cs.y,
                                cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance,
                                cs.lpCreateParams);
    AfxUnhookWindowCreate();
    // A window whose creation failed has already been through WM_NCDESTROY.
    return hWnd != NULL;
}

BOOL CWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext* pContext) {
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top,
                    pParentWnd ? pParentWnd->m_hWnd : NULL, (HMENU)(UINT_PTR)nID,
                    (LPVOID)pContext);
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == NULL) return FALSE;
    return ::DestroyWindow(m_hWnd);
}

void CWnd::PostNcDestroy() {}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper != nullptr) return CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    return DefWindowProc(g_current.message, g_current.wParam, g_current.lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND) {
        if (OnCommand(wParam, lParam)) {
            *pResult = 0;
            return TRUE;
        }
        return FALSE;
    }
    if (message == WM_NOTIFY) {
        LRESULT lResult = 0;
        if (lParam != 0 && OnNotify(wParam, lParam, &lResult)) {
            *pResult = lResult;
            return TRUE;
        }
        return FALSE;
    }
    const AFX_MSGMAP_ENTRY* e = FindEntry(GetMessageMap(), message, 0, 0);
    if (e == nullptr) return FALSE;
    *pResult = e->pfn(this, 0, wParam, lParam, nullptr);
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT nID = LOWORD(wParam);
    HWND hWndCtrl = (HWND)lParam;
    int nCode = HIWORD(wParam);
    if (hWndCtrl != NULL) {
        // A control tells its parent: the control may handle it itself.
        if (CWnd* pChild = FromHandlePermanent(hWndCtrl)) {
            LRESULT lResult = 0;
            if (pChild->OnChildNotify(WM_COMMAND, wParam, lParam, &lResult)) return TRUE;
        }
        if (nCode == BN_CLICKED) nCode = CN_COMMAND;
        else return OnCmdMsg(nID, nCode, nullptr, nullptr);
    } else {
        nCode = CN_COMMAND;  // menu (0) or accelerator (1)
    }
    // A command whose item has become disabled does not run.
    CTestCmdUI state;
    state.m_nID = nID;
    OnCmdMsg(nID, (int)CN_UPDATE_COMMAND_UI, &state, nullptr);
    if (!state.m_bEnabled) return TRUE;
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    NMHDR* pNMHDR = (NMHDR*)lParam;
    if (CWnd* pChild = FromHandlePermanent(pNMHDR->hwndFrom)) {
        if (pChild != this && pChild->OnChildNotify(WM_NOTIFY, wParam, lParam, pResult)) return TRUE;
    }
    AFX_NOTIFY notify = {pResult, pNMHDR};
    return OnCmdMsg((UINT)pNMHDR->idFrom, (int)CN_NOTIFY(pNMHDR->code), &notify, nullptr);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    UINT nCode = message == WM_NOTIFY ? ((NMHDR*)lParam)->code : HIWORD(wParam);
    const AFX_MSGMAP_ENTRY* e = FindEntry(GetMessageMap(), WM_REFLECT_BASE + message, nCode, 0);
    if (e == nullptr) return FALSE;
    LRESULT lResult = 0;
    BOOL bHandled = (BOOL)e->pfn(this, 0, wParam, lParam, &lResult);
    if (bHandled && pResult != nullptr) *pResult = lResult;
    return bHandled;
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
    for (HWND hWnd = pMsg->hwnd; hWnd != NULL; hWnd = ::GetParent(hWnd)) {
        if (CWnd* pWnd = FromHandlePermanent(hWnd)) {
            if (pWnd->PreTranslateMessage(pMsg)) return TRUE;
        }
        if (hWnd == hWndStop) break;
        // A top-level window ends the walk (GetParent would give its owner).
        if ((::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD) == 0) break;
    }
    return FALSE;
}

LRESULT CWnd::OnNcDestroyMessage(WPARAM wParam, LPARAM lParam) {
    LRESULT lResult = DefWindowProc(WM_NCDESTROY, wParam, lParam);
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pMainWnd == this) {
        // The main window going ends the message loop.
        pApp->m_pMainWnd = nullptr;
        AfxSetMainWndHandle(NULL);
        PostQuitMessage(0);
    }
    if (m_pfnSuper != nullptr &&
        (WNDPROC)GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC) == AfxWndProc)
        SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
    m_pfnSuper = nullptr;
    Detach();
    PostNcDestroy();
    return lResult;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == nullptr) return ::DefWindowProcA(hWnd, message, wParam, lParam);
    CurrentMessage saved = g_current;
    g_current = {hWnd, message, wParam, lParam};
    LRESULT lResult = 0;
    // An exception must never unwind through the system's frames that called
    // us: it is reported here and the message counts as handled.
    try {
        if (message == WM_NCDESTROY)
            lResult = pWnd->OnNcDestroyMessage(wParam, lParam);
        else
            lResult = pWnd->WindowProc(message, wParam, lParam);
    } catch (CException* e) {
        lResult = AfxProcessWndProcException(e, hWnd, message);
    } catch (...) {
        lResult = AfxProcessWndProcException(nullptr, hWnd, message);
    }
    g_current = saved;
    return lResult;
}

LRESULT AfxProcessWndProcException(CException* e, HWND hWnd, UINT message) {
    if (e != nullptr) {
        e->ReportError(MB_ICONSTOP);
        e->Delete();
    } else {
        AfxMessageBox("An unexpected error occurred.", MB_ICONSTOP);
    }
    if (message == WM_CREATE) return -1;  // the window is not made
    if (message == WM_NCCREATE) return FALSE;
    if (message == WM_PAINT) ValidateRect(hWnd, NULL);  // or it is asked for again at once
    return 0;
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep) {
    for (HWND hChild = ::GetTopWindow(m_hWnd); hChild != NULL;
         hChild = ::GetNextWindow(hChild, GW_HWNDNEXT)) {
        ::SendMessageA(hChild, message, wParam, lParam);
        if (bDeep) {
            CWnd child;
            child.m_hWnd = hChild;
            child.SendMessageToDescendants(message, wParam, lParam, TRUE);
            child.m_hWnd = NULL;
        }
    }
}

void CWnd::ScreenToClient(LPRECT lpRect) const {
    ::ScreenToClient(m_hWnd, (LPPOINT)lpRect);
    ::ScreenToClient(m_hWnd, ((LPPOINT)lpRect) + 1);
}

void CWnd::GetWindowText(CString& rString) const {
    // A control may count characters rather than bytes (the rich edit does
    // under Wine): room for two bytes each, or double-byte text is cut.
    int nLen = ::GetWindowTextLengthA(m_hWnd) * 2;
    ::GetWindowTextA(m_hWnd, rString.GetBuffer(nLen), nLen + 1);
    rString.ReleaseBuffer();
}

CFrameWnd* CWnd::GetParentFrame() const {
    for (HWND hWnd = ::GetParent(m_hWnd); hWnd != NULL; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
            return static_cast<CFrameWnd*>(pWnd);
    }
    return nullptr;
}

CWnd* CWnd::GetTopLevelParent() const {
    HWND hWnd = m_hWnd;
    while (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD) {
        HWND hParent = ::GetParent(hWnd);
        if (hParent == NULL) break;
        hWnd = hParent;
    }
    return FromHandle(hWnd);
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    DWORD dwStyle = GetStyle();
    DWORD dwNew = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNew) return FALSE;
    ::SetWindowLongA(m_hWnd, GWL_STYLE, (LONG)dwNew);
    if (nFlags != 0)
        ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
    HWND hOwner = pAlternateOwner ? pAlternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
    RECT rcOwner, rc;
    if (hOwner != NULL) ::GetWindowRect(hOwner, &rcOwner);
    else SystemParametersInfoA(SPI_GETWORKAREA, 0, &rcOwner, 0);
    ::GetWindowRect(m_hWnd, &rc);
    int x = (rcOwner.left + rcOwner.right - (rc.right - rc.left)) / 2;
    int y = (rcOwner.top + rcOwner.bottom - (rc.bottom - rc.top)) / 2;
    ::SetWindowPos(m_hWnd, NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int CWnd::OnCreate(LPCREATESTRUCTA) { return (int)Default(); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnSetFocus(HWND) { Default(); }
void CWnd::OnKillFocus(HWND) { Default(); }
void CWnd::OnDropFiles(HDROP) { Default(); }
void CWnd::OnPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(HDC) { return (BOOL)Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
int CWnd::OnMouseActivate(HWND, UINT, UINT) { return (int)Default(); }
void CWnd::OnLButtonDown(UINT, POINT) { Default(); }
void CWnd::OnLButtonUp(UINT, POINT) { Default(); }
void CWnd::OnLButtonDblClk(UINT, POINT) { Default(); }
void CWnd::OnRButtonDown(UINT, POINT) { Default(); }
void CWnd::OnMouseMove(UINT, POINT) { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
BOOL CWnd::OnSetCursor(HWND, UINT, UINT) { return (BOOL)Default(); }
void CWnd::OnContextMenu(HWND, POINT) { Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnCancelMode() { Default(); }
void CWnd::OnCaptureChanged(HWND) { Default(); }
LRESULT CWnd::OnNcHitTest(POINT) { return Default(); }
