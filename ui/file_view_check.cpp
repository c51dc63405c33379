// The selected rows tested, and the one selected row's stored facts.
#include "app/archive_doc.h"
#include "engine/entry_properties.h"
#include "framework/cmd_ui.h"
#include "ui/file_view.h"
#include "ui/properties_dlg.h"
#include "ui/test_result_dlg.h"

void CFileView::OnTestSelected() {
    CStringArray paths;
    GetSelectedPaths(paths);
    if (paths.GetSize() > 0 && GetDocument() != NULL) TestAndShowResult(GetDocument(), paths, this);
}

void CFileView::OnUpdateProperties(CCmdUI* pCmdUI) { pCmdUI->Enable(m_wndList.GetSelectedCount() == 1); }

void CFileView::OnProperties() {
    CStringArray paths;
    GetSelectedPaths(paths);
    CArchiveDoc* pDoc = GetDocument();
    if (paths.GetSize() != 1 || pDoc == NULL) return;
    CEntryProperties props;
    if (!pDoc->GetEntryProperties(paths[0], &props)) return;
    CPropertiesDlg dlg(props, this);
    dlg.DoModal();
}
