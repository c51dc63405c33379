// CMainFrame: the counts in the status bar, finding a file by name, and
// reading the archive again after another program changed it.
#include "ui/main_frame.h"

#include "app/archive_doc.h"
#include "framework/cmd_ui.h"
#include "res/resource.h"
#include "ui/dir_view.h"
#include "ui/file_view.h"
#include "ui/find_dlg.h"
#include "ui/show_folder.h"
#include "ui/status_counts.h"

namespace {

CDirView* TreePane(const CDirPaneSplitter& splitter) {
    CWnd* pPane = splitter.m_hWnd != NULL ? splitter.GetPane(0, 0) : NULL;
    return pPane != NULL && pPane->IsKindOf(RUNTIME_CLASS(CDirView)) ? static_cast<CDirView*>(pPane) : NULL;
}

CFileView* ListPane(const CDirPaneSplitter& splitter) {
    CWnd* pPane = splitter.m_hWnd != NULL ? splitter.GetPane(0, 1) : NULL;
    return pPane != NULL && pPane->IsKindOf(RUNTIME_CLASS(CFileView)) ? static_cast<CFileView*>(pPane) : NULL;
}

}  // namespace

void CMainFrame::GetMessageString(UINT nID, CString& rMessage) const {
    if (nID == AFX_IDS_IDLEMESSAGE && FolderCountsText(ListPane(m_wndSplitter), rMessage)) return;
    CFrameWnd::GetMessageString(nID, rMessage);
}

void CMainFrame::OnUpdateFind(CCmdUI* pCmdUI) {
    CArchiveDoc* pDoc = static_cast<CArchiveDoc*>(GetActiveDocument());
    pCmdUI->Enable(pDoc != NULL && pDoc->GetEntryCount() > 0);
}

void CMainFrame::OnFind() {
    CArchiveDoc* pDoc = static_cast<CArchiveDoc*>(GetActiveDocument());
    CFileView* pList = ListPane(m_wndSplitter);
    if (pDoc == NULL || pDoc->GetEntryCount() == 0 || pList == NULL) return;
    CFindDlg dlg(pDoc, this);
    if (dlg.DoModal() != IDOK) return;
    if (!ShowFolderAndRow(TreePane(m_wndSplitter), pList, dlg.m_strDir, dlg.m_strName)) return;
    // The keys act on the found row next.
    SetActiveView(pList);
    pList->SetFocus();
}

void CMainFrame::OnUpdateReread(CCmdUI* pCmdUI) {
    CDocument* pDoc = GetActiveDocument();
    pCmdUI->Enable(pDoc != NULL && !pDoc->GetPathName().IsEmpty());
}

// The folder and the row shown before stay shown when they are still there.
void CMainFrame::OnReread() {
    CArchiveDoc* pDoc = static_cast<CArchiveDoc*>(GetActiveDocument());
    CFileView* pList = ListPane(m_wndSplitter);
    if (pDoc == NULL || pDoc->GetPathName().IsEmpty() || pList == NULL) return;
    CString strDir = pDoc->GetCurrentDir(), strName;
    int nRow = pList->m_wndList.GetNextItem(-1, LVNI_FOCUSED);
    if (nRow >= 0) strName = pList->m_wndList.GetItemText(nRow, 0);
    if (!pDoc->Load(pDoc->GetPathName())) return;
    if (!strDir.IsEmpty() || !strName.IsEmpty()) ShowFolderAndRow(TreePane(m_wndSplitter), pList, strDir, strName);
}
