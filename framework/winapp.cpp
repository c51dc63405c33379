// CWinApp's window layer: start and message loop, document templates, File
// New and File Open, the recent-file list.
#include "framework/winapp.h"

#include "framework/afx_state.h"
#include "framework/cmd_ui.h"
#include "framework/doc_template.h"
#include "framework/document.h"
#include "framework/file_dialog.h"
#include "framework/frame_wnd.h"
#include "framework/recent_files.h"
#include "framework/view.h"

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
    ON_COMMAND(ID_FILE_NEW, OnFileNew)
    ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
    ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
    ON_COMMAND_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE4, OnOpenRecentFile)
END_MESSAGE_MAP()

#define AFX_IDS_OPENFILE 0xF000
#define AFX_IDS_ALLFILTER 0xF002

namespace {
int g_nExitCode = 0;
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow) {
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr) return -1;
    AfxSetInstanceHandle(hInstance);
    pApp->m_hInstance = hInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->m_nCmdShow = nCmdShow;
    if (!pApp->InitApplication() || !pApp->InitInstance()) {
        if (pApp->m_pMainWnd != nullptr) pApp->m_pMainWnd->DestroyWindow();
        return pApp->ExitInstance();
    }
    return pApp->Run();
}

BOOL AfxOleInit() {
    HRESULT hr = OleInitialize(NULL);
    return SUCCEEDED(hr);
}

BOOL CWinApp::InitApplication() { return TRUE; }
BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() {
    SaveStdProfileSettings();
    for (CDocTemplate* pTemplate : m_templates) delete pTemplate;
    m_templates.clear();
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
    return g_nExitCode;
}

// Messages that change nothing a command's state depends on: after them the
// idle work is not run again.
static BOOL IsIdleMessage(const MSG& msg, POINT& ptLast) {
    if (msg.message == WM_PAINT || msg.message == 0x0118 /* caret blink */) return FALSE;
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
        if (msg.pt.x == ptLast.x && msg.pt.y == ptLast.y) return FALSE;
        ptLast = msg.pt;
    }
    return TRUE;
}

int CWinApp::Run() {
    MSG msg;
    POINT ptLastMouse = {-1, -1};
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    for (;;) {
        while (bIdle && !PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(lIdleCount++)) bIdle = FALSE;
        }
        do {
            if (!GetMessageA(&msg, NULL, 0, 0)) {
                g_nExitCode = (int)msg.wParam;
                return ExitInstance();
            }
            if (!PreTranslateMessage(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            if (IsIdleMessage(msg, ptLastMouse)) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg) {
    return CWnd::WalkPreTranslateTree(NULL, pMsg);
}

static BOOL CALLBACK UpdateFrameBars(HWND hWnd, LPARAM) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd != nullptr && pWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd)) && ::IsWindowVisible(hWnd))
        static_cast<CFrameWnd*>(pWnd)->UpdateControlBars();
    return TRUE;
}

void CWinApp::IdleUpdate() {
    EnumThreadWindows(GetCurrentThreadId(), UpdateFrameBars, 0);
}

BOOL CWinApp::OnIdle(LONG lCount) {
    if (lCount == 0) {
        IdleUpdate();
        return TRUE;
    }
    CWnd::DeleteTempMap();
    return FALSE;
}

BOOL CWinApp::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    // Commands no window handles may still belong to a template.
    for (CDocTemplate* pTemplate : m_templates)
        if (pTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return FALSE;
}

// --- Documents -------------------------------------------------------------

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) { m_templates.push_back(pTemplate); }

CDocTemplate* CWinApp::GetFirstDocTemplate() const {
    return m_templates.empty() ? nullptr : m_templates.front();
}

CDocument* CWinApp::OpenDocumentFile(LPCSTR lpszFileName) {
    CDocTemplate* pTemplate = GetFirstDocTemplate();
    if (pTemplate == nullptr) return nullptr;
    char szPath[MAX_PATH];
    LPSTR pszFilePart = nullptr;
    if (GetFullPathNameA(lpszFileName, MAX_PATH, szPath, &pszFilePart) == 0)
        lstrcpynA(szPath, lpszFileName, MAX_PATH);
    // The document already open on this path is brought forward, not read again.
    CDocument* pOpen = pTemplate->GetOnlyDocument();
    if (pOpen != nullptr && !pOpen->GetPathName().IsEmpty() &&
        pOpen->GetPathName().CompareNoCase(szPath) == 0) {
        POSITION pos = pOpen->GetFirstViewPosition();
        if (pos != nullptr) {
            if (CFrameWnd* pFrame = pOpen->GetNextView(pos)->GetParentFrame()) {
                if (pFrame->IsIconic()) pFrame->ShowWindow(SW_RESTORE);
                pFrame->SetForegroundWindow();
            }
        }
        return pOpen;
    }
    return pTemplate->OpenDocumentFile(szPath);
}

void CWinApp::CloseAllDocuments(BOOL bEndSession) {
    for (CDocTemplate* pTemplate : m_templates) pTemplate->CloseAllDocuments(bEndSession);
}

void CWinApp::OnFileNew() {
    if (CDocTemplate* pTemplate = GetFirstDocTemplate()) pTemplate->OpenDocumentFile(nullptr);
}

BOOL CWinApp::DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog) {
    CString strFilter;
    if (CDocTemplate* pTemplate = GetFirstDocTemplate()) {
        CString strName, strExt;
        if (pTemplate->GetDocString(strName, CDocTemplate::filterName) &&
            pTemplate->GetDocString(strExt, CDocTemplate::filterExt))
            strFilter = strName + "|*" + strExt + "|";
    }
    CString strAll;
    strAll.LoadString(AFX_IDS_ALLFILTER);
    strFilter += strAll + "|*.*||";
    CFileDialog dlg(bOpenFileDialog, nullptr, nullptr, lFlags | OFN_HIDEREADONLY, strFilter, nullptr);
    CString strTitle;
    strTitle.LoadString(nIDSTitle);
    dlg.m_ofn.lpstrTitle = strTitle;
    if (m_pMainWnd != nullptr) dlg.m_ofn.hwndOwner = m_pMainWnd->m_hWnd;
    if (dlg.DoModal() != IDOK) return FALSE;
    fileName = dlg.GetPathName();
    return TRUE;
}

void CWinApp::OnFileOpen() {
    CString strPath;
    if (!DoPromptFileName(strPath, AFX_IDS_OPENFILE, OFN_FILEMUSTEXIST, TRUE)) return;
    OpenDocumentFile(strPath);
}

// --- Recent files ----------------------------------------------------------

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU) {
    if (nMaxMRU != 0) {
        delete m_pRecentFileList;
        m_pRecentFileList = new CRecentFileList(ID_FILE_MRU_FILE1, "Recent File List", "File%d",
                                                (int)nMaxMRU);
        m_pRecentFileList->ReadList();
    }
    m_nNumPreviewPages = (UINT)GetProfileInt("Settings", "PreviewPages", 0);
}

void CWinApp::SaveStdProfileSettings() {
    if (m_pRecentFileList != nullptr) m_pRecentFileList->WriteList();
}

void CWinApp::AddToRecentFileList(LPCSTR lpszPathName) {
    if (m_pRecentFileList != nullptr) m_pRecentFileList->Add(lpszPathName);
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI) {
    if (m_pRecentFileList == nullptr) {
        pCmdUI->Enable(FALSE);
        return;
    }
    m_pRecentFileList->UpdateMenu(pCmdUI);
    pCmdUI->Enable(!m_pRecentFileList->operator[](0).IsEmpty());
}

BOOL CWinApp::OnOpenRecentFile(UINT nID) {
    if (m_pRecentFileList == nullptr) return FALSE;
    int nIndex = (int)(nID - ID_FILE_MRU_FILE1);
    CString strPath = (*m_pRecentFileList)[nIndex];
    if (strPath.IsEmpty()) return FALSE;
    if (OpenDocumentFile(strPath) == nullptr) m_pRecentFileList->Remove(nIndex);
    return TRUE;
}
