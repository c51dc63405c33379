// Testing the whole archive from the menu or the toolbar, whichever pane has
// the focus.
#include "app/archive_doc.h"
#include "framework/cmd_ui.h"
#include "ui/main_frame.h"
#include "ui/test_result_dlg.h"

void CMainFrame::OnUpdateTestArchive(CCmdUI* pCmdUI) {
    CArchiveDoc* pDoc = GetArchiveDoc();
    pCmdUI->Enable(pDoc != NULL && pDoc->HasEntries());
}

void CMainFrame::OnTestArchive() {
    CArchiveDoc* pDoc = GetArchiveDoc();
    if (pDoc != NULL && pDoc->HasEntries()) TestAndShowResult(pDoc, CStringArray(), this);
}
