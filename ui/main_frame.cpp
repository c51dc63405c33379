#include "ui/main_frame.h"

#include <shellapi.h>

#include <cstring>

#include "app/archive_doc.h"
#include "app/messages.h"
#include "app/zuvo_app.h"
#include "engine/lha.h"
#include "framework/cmd_ui.h"
#include "res/resource.h"
#include "ui/desktop_open.h"
#include "settings/remembered_settings.h"
#include "ui/dir_view.h"
#include "ui/drop_question.h"
#include "ui/mini_view_frame.h"

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_DROPFILES()
    ON_MESSAGE(WM_MINIVIEWER_CLOSED, OnMiniViewerClosed)
    ON_MESSAGE(WM_ACTIVATEAPP, OnActivateApp)
    ON_COMMAND(ID_ALWAYS_ON_TOP, OnAlwaysOnTop)
    ON_UPDATE_COMMAND_UI(ID_ALWAYS_ON_TOP, OnUpdateAlwaysOnTop)
    ON_COMMAND(ID_HELP_FINDER, OnHelpGuide)
    ON_COMMAND(ID_HELP, OnHelpGuide)
    ON_COMMAND(ID_COMPRESS, OnCompress)
    ON_COMMAND(ID_MAKE_SFX, OnMakeSFX)
    ON_COMMAND(ID_COMPRESS_DIR, OnCompressDir)
    ON_COMMAND_RANGE(ID_VIEW_LIST, ID_VIEW_DETAILS, OnViewMode)
    ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_LIST, ID_VIEW_DETAILS, OnUpdateViewMode)
    ON_COMMAND(ID_FIND, OnFind)
    ON_UPDATE_COMMAND_UI(ID_FIND, OnUpdateFind)
    ON_COMMAND(ID_REREAD, OnReread)
    ON_UPDATE_COMMAND_UI(ID_REREAD, OnUpdateReread)
    ON_COMMAND(ID_TEST_ARCHIVE, OnTestArchive)
    ON_UPDATE_COMMAND_UI(ID_TEST_ARCHIVE, OnUpdateTestArchive)
END_MESSAGE_MAP()

static const UINT kIndicators[] = {ID_SEPARATOR};

CMainFrame::CMainFrame() : m_bAlwaysOnTop(FALSE) {}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs) {
    PlaceMainWindow(cs);
    return CFrameWnd::PreCreateWindow(cs);
}

BOOL CMainFrame::OnCreateClient(LPCREATESTRUCTA lpcs, CCreateContext* pContext) {
    if (!m_wndSplitter.CreateStatic(this, 1, 2, WS_CHILD | WS_VISIBLE, AFX_IDW_PANE_FIRST))
        return FALSE;
    // Without a stored width the tree gets one that fits its folder names.
    m_wndSplitter.m_nDirPaneWidth = 100;
    BOOL bStored = LoadDirPaneWidth(m_wndSplitter.m_nDirPaneWidth);
    if (!m_wndSplitter.CreateView(0, 0, RUNTIME_CLASS(CDirView),
                                  CSize(m_wndSplitter.m_nDirPaneWidth, lpcs->cy), pContext))
        return FALSE;
    if (!bStored) {
        CDirView* pTree = static_cast<CDirView*>(m_wndSplitter.GetPane(0, 0));
        int cxCur = 0, cxMin = 0;
        m_wndSplitter.GetColumnInfo(0, cxCur, cxMin);
        m_wndSplitter.m_nDirPaneWidth = pTree->m_wndTree.GetFittingWidth();
        m_wndSplitter.SetColumnInfo(0, m_wndSplitter.m_nDirPaneWidth, cxMin);
    }
    CRuntimeClass* pViewClass = pContext != nullptr ? pContext->m_pNewViewClass : nullptr;
    return m_wndSplitter.CreateView(0, 1, pViewClass, CSize(lpcs->cx, lpcs->cy), pContext);
}

int CMainFrame::OnCreate(LPCREATESTRUCTA lpcs) {
    if (CFrameWnd::OnCreate(lpcs) == -1) return -1;
    if (!m_wndToolBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR) ||
        !m_wndToolBar.LoadToolBar(IDR_TOOLBAR))
        return -1;
    m_wndToolBar.SetBarStyle(m_wndToolBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY);
    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(kIndicators, sizeof(kIndicators) / sizeof(kIndicators[0])))
        return -1;
    RecalcLayout();
    // Other programs' OLE drags reach only a registered target; a window
    // that merely accepts files gets nothing from them.
    m_dropTarget.Register(this);
    return 0;
}

void CMainFrame::OnDestroy() {
    m_dropTarget.Revoke();
    CFrameWnd::OnDestroy();
}

void CMainFrame::OnClose() {
    SaveMainWindow(m_hWnd);
    CFrameWnd::OnClose();
}

void CMainFrame::OnAlwaysOnTop() {
    m_bAlwaysOnTop = !m_bAlwaysOnTop;
    ::SetWindowPos(m_hWnd, m_bAlwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE);
}

void CMainFrame::OnUpdateAlwaysOnTop(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bAlwaysOnTop); }

void CMainFrame::OnHelpGuide() {
    char szPath[MAX_PATH + 16];
    DWORD n = GetModuleFileNameA(NULL, szPath, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    char* pDot = strrchr(szPath, '.');
    lstrcpyA(pDot != NULL && strchr(pDot, '\\') == NULL ? pDot : szPath + n, ".html");
    if (GetFileAttributesA(szPath) == INVALID_FILE_ATTRIBUTES) {
        ErrorMessage(IDS_HELP_NOT_FOUND, szPath);
        return;
    }
    if ((INT_PTR)OpenPageOnDesktop(m_hWnd, szPath) <= 32) ErrorMessage(IDS_EXEC_FAILED);
}

LRESULT CMainFrame::OnMiniViewerClosed(WPARAM, LPARAM) {
    // The closed window has let go of itself already; one made since stays.
    CMiniViewFrame* pViewer = ZuvoApp()->m_pMiniViewer;
    if (pViewer == NULL || !::IsWindow(pViewer->m_hWnd)) ZuvoApp()->ForgetMiniViewer();
    return 0;
}

// Every dropped path, whole. FALSE, after naming it to the user, when one is
// too long for this program's paths: nothing is done with a path cut short.
static BOOL ReadDroppedPaths(HDROP hDropInfo, CStringArray& paths) {
    UINT nFiles = DragQueryFileA(hDropInfo, 0xFFFFFFFF, NULL, 0);
    for (UINT i = 0; i < nFiles; ++i) {
        UINT nLength = DragQueryFileA(hDropInfo, i, NULL, 0);
        CString strPath;
        DragQueryFileA(hDropInfo, i, strPath.GetBuffer((int)nLength + 1), nLength + 1);
        strPath.ReleaseBuffer((int)nLength);
        if (nLength >= MAX_PATH) {
            ErrorMessage(IDS_PATH_TOO_LONG, (LPCSTR)strPath);
            return FALSE;
        }
        paths.Add(strPath);
    }
    return TRUE;
}

void CMainFrame::OnDropFiles(HDROP hDropInfo) {
    SetForegroundWindow();
    CStringArray files;
    BOOL bRead = ReadDroppedPaths(hDropInfo, files);
    DragFinish(hDropInfo);
    if (!bRead || files.GetSize() == 0) return;
    if (files.GetSize() == 1) {
        BOOL bArchive;
        {
            CLha lha(files[0]);
            bArchive = lha.CheckArchive();
        }
        if (bArchive) {
            AfxGetApp()->OpenDocumentFile(files[0]);
            return;
        }
    }
    CArchiveDoc* pDoc = GetArchiveDoc();
    if (AskToAddDropped(pDoc, files.GetSize()) != IDYES) return;
    if (pDoc != nullptr && pDoc->GetArchiveToWorkOn()) pDoc->AddFiles(files);
}
