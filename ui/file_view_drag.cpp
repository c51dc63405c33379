// CFileView: dragging rows out of the window as files. Either the platform's
// OLE drag, or the program's own loop that posts WM_DROPFILES.
#include "ui/file_view.h"

#include "app/archive_doc.h"
#include "app/zuvo_app.h"
#include "engine/arcfile_item.h"
#include "framework/wine_platform.h"
#include "ui/drop_files.h"
#include "ui/file_data_source.h"

namespace {

// The own loop posts a block of our memory to another program; only some
// platforms carry it over (under Wine the target reads garbage while the drag
// seems to succeed), and there the OLE drag is the one that arrives.
BOOL PlatformCarriesDropBlocks() { return !AfxRunningOnWine(); }

}  // namespace

void CFileView::OnBeginDrag() {
    if (!ZuvoApp()->IsWin95() && PlatformCarriesDropBlocks()) {
        DragWithoutOle();
        return;
    }
    CFileDataSource source(this);
    source.DelayRenderData(CF_HDROP);
    source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE);
}

BOOL CFileView::ExtractSelectedToTemp(CStringArray& paths) {
    paths.RemoveAll();
    CArchiveDoc* pDoc = GetDocument();
    if (pDoc == NULL || !pDoc->HasArchive()) return FALSE;
    CTempCopies::CBatch copies(ZuvoApp()->m_tempCopies);
    if (!copies.CheckDirectory()) return FALSE;
    for (int nRow = m_wndList.GetNextItem(-1, LVNI_SELECTED); nRow >= 0;
         nRow = m_wndList.GetNextItem(nRow, LVNI_SELECTED)) {
        CArcfileItem* pItem = reinterpret_cast<CArcfileItem*>(m_wndList.GetItemData(nRow));
        if (pItem != NULL) paths.Add(copies.Add(pItem));
    }
    if (paths.GetSize() == 0) return FALSE;
    BOOL bExtracted = copies.Extract(*pDoc);
    // The target has its own copies by the end of the run: ours go at exit.
    copies.Record(FALSE);
    return bExtracted;
}

HGLOBAL CFileView::MakeDropFiles(const CStringArray& paths) { return BuildDropFiles(paths); }

void CFileView::DragWithoutOle() {
    int nCount = m_wndList.GetSelectedCount();
    CArchiveDoc* pDoc = GetDocument();
    if (nCount <= 0 || pDoc == NULL || !pDoc->HasArchive()) return;
    CFileDrag drag(m_wndList.m_hWnd);
    if (!drag.Track(nCount)) return;
    CTempCopies::CBatch copies(ZuvoApp()->m_tempCopies);
    if (!copies.CheckDirectory()) return;
    for (int nRow = m_wndList.GetNextItem(-1, LVNI_SELECTED); nRow >= 0;
         nRow = m_wndList.GetNextItem(nRow, LVNI_SELECTED)) {
        CArcfileItem* pItem = reinterpret_cast<CArcfileItem*>(m_wndList.GetItemData(nRow));
        if (pItem == NULL) continue;
        if (!drag.AddFile(copies.Add(pItem))) {
            // Never a half-built or stale block: the drag ends here.
            CFileDrag::ReportNoMemory();
            return;
        }
    }
    // The copies are in place before the target hears of them.
    copies.Extract(*pDoc);
    copies.Record(FALSE);
    drag.Drop();
}
