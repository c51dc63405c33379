// CMainFrame: the counts in the status bar, finding a file by name, and
// reading the archive again after another program changed it.
#include "ui/main_frame.h"

#include "app/archive_doc.h"
#include "framework/cmd_ui.h"
#include "res/resource.h"
#include "ui/file_view.h"
#include "ui/find_dlg.h"
#include "ui/status_counts.h"

void CMainFrame::GetMessageString(UINT nID, CString& rMessage) const {
    if (nID == AFX_IDS_IDLEMESSAGE && FolderCountsText(GetFileView(), rMessage)) return;
    CFrameWnd::GetMessageString(nID, rMessage);
}

void CMainFrame::OnUpdateFind(CCmdUI* pCmdUI) {
    CArchiveDoc* pDoc = GetArchiveDoc();
    pCmdUI->Enable(pDoc != NULL && pDoc->GetEntryCount() > 0);
}

void CMainFrame::OnFind() {
    CArchiveDoc* pDoc = GetArchiveDoc();
    CFileView* pList = GetFileView();
    if (pDoc == NULL || pDoc->GetEntryCount() == 0 || pList == NULL) return;
    CFindDlg dlg(pDoc, this);
    if (dlg.DoModal() != IDOK || !pDoc->HoldsFolder(dlg.m_strDir)) return;
    // Both panes follow the document's folder.
    pDoc->SetCurrentDir(dlg.m_strDir);
    pList->SelectRowNamed(dlg.m_strName);
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
    CArchiveDoc* pDoc = GetArchiveDoc();
    if (pDoc != NULL && !pDoc->GetPathName().IsEmpty()) pDoc->Reread();
}
