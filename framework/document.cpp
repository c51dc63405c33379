#include "framework/document.h"

#include <algorithm>

#include "framework/doc_template.h"
#include "framework/frame_wnd.h"
#include "framework/msgbox.h"
#include "framework/view.h"
#include "framework/winapp.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
END_MESSAGE_MAP()

CDocument::CDocument() : m_bAutoDelete(TRUE), m_pDocTemplate(nullptr), m_bModified(FALSE) {}

CDocument::~CDocument() {
    for (CView* pView : m_viewList) pView->m_pDocument = nullptr;
    if (m_pDocTemplate != nullptr) m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCSTR lpszTitle) {
    m_strTitle = lpszTitle;
    for (CView* pView : m_viewList) {
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame != nullptr) pFrame->OnUpdateFrameTitle(TRUE);
    }
}

void CDocument::SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU) {
    char szFull[MAX_PATH];
    LPSTR pszFilePart = nullptr;
    if (GetFullPathNameA(lpszPathName, MAX_PATH, szFull, &pszFilePart) == 0 ||
        lstrlenA(szFull) >= MAX_PATH)
        lstrcpynA(szFull, lpszPathName, MAX_PATH);
    m_strPathName = szFull;
    // The title is the last component (double-byte aware through CString).
    CString strPath(szFull);
    int nSlash = strPath.ReverseFind('\\');
    SetTitle(nSlash >= 0 ? (LPCSTR)strPath.Mid(nSlash + 1) : szFull);
    if (bAddToMRU) {
        if (CWinApp* pApp = AfxGetApp()) pApp->AddToRecentFileList(m_strPathName);
    }
}

void CDocument::AddView(CView* pView) {
    m_viewList.push_back(pView);
    pView->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* pView) {
    auto it = std::find(m_viewList.begin(), m_viewList.end(), pView);
    if (it == m_viewList.end()) return;
    m_viewList.erase(it);
    pView->m_pDocument = nullptr;
    OnChangedViewList();
}

// Positions are the index plus one, so that NULL ends the walk.
POSITION CDocument::GetFirstViewPosition() const {
    return m_viewList.empty() ? nullptr : (POSITION)(UINT_PTR)1;
}

CView* CDocument::GetNextView(POSITION& rPosition) const {
    size_t nIndex = (size_t)(UINT_PTR)rPosition - 1;
    CView* pView = nIndex < m_viewList.size() ? m_viewList[nIndex] : nullptr;
    rPosition = nIndex + 1 < m_viewList.size() ? (POSITION)(UINT_PTR)(nIndex + 2) : nullptr;
    return pView;
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint) {
    // A copy: a view's update may not change the list, but be safe if it does.
    std::vector<CView*> views = m_viewList;
    for (CView* pView : views)
        if (pView != pSender) pView->OnUpdate(pSender, lHint, pHint);
}

void CDocument::OnChangedViewList() {
    if (m_viewList.empty() && m_bAutoDelete) {
        OnCloseDocument();
        return;
    }
}

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::ReportOpenError(LPCSTR lpszPathName, DWORD dwError) {
    if (dwError == ERROR_FILE_NOT_FOUND || dwError == ERROR_PATH_NOT_FOUND ||
        dwError == ERROR_INVALID_NAME || dwError == ERROR_BAD_NETPATH) {
        CString strFormat;
        strFormat.LoadString(AFX_IDP_FILE_NOT_FOUND);
        // The text carries %1 for the path.
        CString strText;
        int nAt = strFormat.Find("%1");
        if (nAt >= 0) strText = strFormat.Left(nAt) + lpszPathName + strFormat.Mid(nAt + 2);
        else strText = strFormat;
        AfxMessageBox(strText, MB_ICONEXCLAMATION);
    } else {
        AfxMessageBox(AFX_IDP_FAILED_TO_OPEN_DOC, MB_ICONEXCLAMATION);
    }
}

BOOL CDocument::OnOpenDocument(LPCSTR lpszPathName) {
    HANDLE hFile = CreateFileA(lpszPathName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE) {
        ReportOpenError(lpszPathName, GetLastError());
        return FALSE;
    }
    CloseHandle(hFile);
    DeleteContents();
    // Marked until the load succeeds: a load that fails has lost the old
    // contents, and the template must not go on showing them under their name.
    SetModifiedFlag(TRUE);
    return TRUE;
}

void CDocument::OnCloseDocument() {
    // Destroying the frames removes the views; keep this object alive meanwhile.
    BOOL bAutoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_viewList.empty()) {
        CView* pView = m_viewList.front();
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame != nullptr && pFrame->m_hWnd != NULL) {
            pFrame->DestroyWindow();
        } else {
            RemoveView(pView);
        }
    }
    m_bAutoDelete = bAutoDelete;
    DeleteContents();
    if (m_bAutoDelete) delete this;
}

void CDocument::DeleteContents() {}
BOOL CDocument::SaveModified() { return TRUE; }
BOOL CDocument::CanCloseFrame(CFrameWnd*) { return SaveModified(); }
void CDocument::Serialize(CArchive&) {}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return m_pDocTemplate != nullptr && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
