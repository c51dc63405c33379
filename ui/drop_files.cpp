#include "ui/drop_files.h"

#include <string.h>

#include "framework/afx_state.h"
#include "framework/msgbox.h"
#include "res/resource.h"

namespace {

const char kNoMemory[] = "Not enough memory for drag&drop.";

HGLOBAL AllocDropFiles(SIZE_T cbNames, POINT pt, BOOL bNonClient, BOOL bWide) {
    HGLOBAL hGlobal = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + cbNames);
    if (hGlobal == NULL) return NULL;
    DROPFILES* pDrop = (DROPFILES*)GlobalLock(hGlobal);
    if (pDrop == NULL) {
        GlobalFree(hGlobal);
        return NULL;
    }
    pDrop->pFiles = sizeof(DROPFILES);
    pDrop->pt = pt;
    pDrop->fNC = bNonClient;
    pDrop->fWide = bWide;
    GlobalUnlock(hGlobal);
    return hGlobal;
}

}  // namespace

HGLOBAL BuildDropFiles(const CStringArray& paths, POINT pt, BOOL bNonClient) {
    if (paths.GetSize() == 0) return NULL;
    SIZE_T cbNames = 1;  // the zero after the last name
    for (int i = 0; i < paths.GetSize(); ++i) cbNames += (SIZE_T)paths[i].GetLength() + 1;
    HGLOBAL hGlobal = AllocDropFiles(cbNames, pt, bNonClient, FALSE);
    if (hGlobal == NULL) return NULL;
    char* pNames = (char*)GlobalLock(hGlobal) + sizeof(DROPFILES);
    for (int i = 0; i < paths.GetSize(); ++i) {
        memcpy(pNames, (LPCSTR)paths[i], (size_t)paths[i].GetLength() + 1);
        pNames += paths[i].GetLength() + 1;
    }
    GlobalUnlock(hGlobal);
    return hGlobal;
}

HGLOBAL CopyDropFiles(HGLOBAL hDrop) {
    SIZE_T cb = GlobalSize(hDrop);
    if (cb < sizeof(DROPFILES)) return NULL;
    HGLOBAL hCopy = GlobalAlloc(GMEM_MOVEABLE, cb);
    if (hCopy == NULL) return NULL;
    const void* pFrom = GlobalLock(hDrop);
    void* pTo = GlobalLock(hCopy);
    if (pFrom != NULL && pTo != NULL) memcpy(pTo, pFrom, cb);
    if (pFrom != NULL) GlobalUnlock(hDrop);
    if (pTo != NULL) GlobalUnlock(hCopy);
    if (pFrom == NULL || pTo == NULL) {
        GlobalFree(hCopy);
        return NULL;
    }
    return hCopy;
}

CFileDrag::CFileDrag(HWND hWndOwner)
    : m_hDrop(NULL), m_hWndTarget(NULL), m_hWndOwner(hWndOwner), m_ptLast{0, 0} {}

CFileDrag::~CFileDrag() {
    if (m_hDrop != NULL) GlobalFree(m_hDrop);  // built but never posted
}

HGLOBAL CFileDrag::CreateDropBlock(POINT pt, BOOL bNonClient, BOOL bWide) {
    return AllocDropFiles(bWide ? 2 : 1, pt, bNonClient, bWide);
}

HWND CFileDrag::FindTarget(POINT ptScreen) {
    HWND hWnd = WindowFromPoint(ptScreen);
    while (hWnd != NULL && IsWindow(hWnd)) {
        if (GetWindowLongA(hWnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) break;
        if ((GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD) == 0) return NULL;  // top reached
        hWnd = GetParent(hWnd);
    }
    if (hWnd == NULL || !IsWindow(hWnd)) return NULL;
    // Never onto ourselves.
    HWND hMain = AfxGetMainWndHandle();
    if (hMain != NULL && GetAncestor(hWnd, GA_ROOT) == hMain) return NULL;
    return hWnd;
}

BOOL CFileDrag::FollowMouse(HCURSOR hDrag, HCURSOR hNoDrop) {
    SetCapture(m_hWndOwner);
    GetCursorPos(&m_ptLast);
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage((int)msg.wParam);
                return FALSE;
            }
            if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) return FALSE;
            if (msg.message == WM_CANCELMODE) return FALSE;
            if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
                // The mouse belongs to the drag: only its position counts.
                m_ptLast = msg.pt;
                m_hWndTarget = FindTarget(m_ptLast);
                SetCursor(m_hWndTarget != NULL ? hDrag : hNoDrop);
                if (msg.message == WM_LBUTTONUP) return TRUE;
                continue;
            }
            if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (GetCapture() != m_hWndOwner) return FALSE;
        // A release that never reached us (the button was up before the
        // capture was taken) still ends the drag where the mouse is.
        if ((GetAsyncKeyState(VK_LBUTTON) & 0x8000) == 0) {
            GetCursorPos(&m_ptLast);
            m_hWndTarget = FindTarget(m_ptLast);
            return TRUE;
        }
        MsgWaitForMultipleObjects(0, NULL, FALSE, 100, QS_ALLINPUT);
    }
}

BOOL CFileDrag::Track(int nFiles) {
    m_hDrop = NULL;
    m_hWndTarget = NULL;
    if (nFiles <= 0) return FALSE;
    HINSTANCE hRes = AfxGetResourceHandle();
    HCURSOR hNoDrop = LoadCursorA(hRes, MAKEINTRESOURCEA(IDC_NO_DROP));
    HCURSOR hDrag = LoadCursorA(hRes, MAKEINTRESOURCEA(nFiles == 1 ? IDC_DRAG_ONE : IDC_DRAG_MANY));
    HCURSOR hOld = SetCursor(hDrag);
    BOOL bReleased = FollowMouse(hDrag, hNoDrop);
    if (GetCapture() == m_hWndOwner) ReleaseCapture();
    SetCursor(hOld);
    if (!bReleased || m_hWndTarget == NULL) {
        m_hWndTarget = NULL;
        return FALSE;
    }

    // Where in the target the mouse came up; a hung target counts as client.
    DWORD_PTR nHit = HTCLIENT;
    SendMessageTimeoutA(m_hWndTarget, WM_NCHITTEST, 0, MAKELPARAM(m_ptLast.x, m_ptLast.y),
                        SMTO_ABORTIFHUNG, 1000, &nHit);
    POINT pt = m_ptLast;
    ScreenToClient(m_hWndTarget, &pt);
    m_hDrop = CreateDropBlock(pt, nHit != HTCLIENT, FALSE);
    if (m_hDrop == NULL) {
        ReportNoMemory();
        return FALSE;
    }
    return TRUE;
}

BOOL CFileDrag::AddFile(LPCSTR lpszPath) {
    if (m_hDrop == NULL) return FALSE;
    SIZE_T cbBlock = GlobalSize(m_hDrop);
    const char* pBlock = (const char*)GlobalLock(m_hDrop);
    if (pBlock == NULL) return FALSE;
    // The end of the list: the empty name after the last one.
    SIZE_T nEnd = sizeof(DROPFILES);
    while (nEnd < cbBlock && pBlock[nEnd] != '\0') nEnd += strlen(pBlock + nEnd) + 1;
    GlobalUnlock(m_hDrop);

    SIZE_T nLen = strlen(lpszPath);
    HGLOBAL hGrown = GlobalReAlloc(m_hDrop, nEnd + nLen + 2, GMEM_MOVEABLE | GMEM_ZEROINIT);
    if (hGrown == NULL) {
        GlobalFree(m_hDrop);  // the old block is still ours
        m_hDrop = NULL;
        return FALSE;
    }
    m_hDrop = hGrown;
    char* pGrown = (char*)GlobalLock(m_hDrop);
    memcpy(pGrown + nEnd, lpszPath, nLen + 1);
    pGrown[nEnd + nLen + 1] = '\0';
    GlobalUnlock(m_hDrop);
    return TRUE;
}

void CFileDrag::ReportNoMemory() { AfxMessageBox(kNoMemory, MB_OK | MB_ICONSTOP); }

HWND CFileDrag::Drop() {
    if (m_hDrop != NULL && PostMessageA(m_hWndTarget, WM_DROPFILES, (WPARAM)m_hDrop, 0))
        m_hDrop = NULL;  // the target's now
    return m_hWndTarget;
}
