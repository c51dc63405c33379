// CFileView: listing a directory of the archive, and the commands on the
// selected rows (extract, select all, delete, rename, sort, view mode).
#include "ui/file_view.h"

#include "app/archive_doc.h"
#include "app/messages.h"
#include "app/zuvo_app.h"
#include "engine/arcfile_item.h"
#include "framework/cmd_ui.h"
#include "framework/path_parts.h"
#include "res/resource.h"
#include "ui/dir_select_dlg.h"
#include "ui/entry_cells.h"

IMPLEMENT_DYNCREATE(CFileView, CView)

BEGIN_MESSAGE_MAP(CFileView, CView)
    ON_WM_SIZE()
    ON_WM_CREATE()
    ON_COMMAND(ID_EXTRACT, OnExtract)
    ON_UPDATE_COMMAND_UI(ID_EXTRACT, OnUpdateExtract)
    ON_UPDATE_COMMAND_UI(ID_VIEW_ENTRY, OnUpdateOpenEntry)
    ON_COMMAND(ID_VIEW_ENTRY, OnOpenEntry)
    ON_UPDATE_COMMAND_UI(ID_MINIVIEWER, OnUpdateMiniViewer)
    ON_COMMAND(ID_MINIVIEWER, OnMiniViewer)
    ON_COMMAND(ID_SELECT_ALL, OnSelectAll)
    ON_UPDATE_COMMAND_UI(ID_SELECT_ALL, OnUpdateSelectAll)
    ON_COMMAND(ID_DELETE, OnDelete)
    ON_UPDATE_COMMAND_UI(ID_DELETE, OnUpdateDelete)
    ON_COMMAND(ID_SORT_DATE, OnSortDate)
    ON_UPDATE_COMMAND_UI(ID_SORT_DATE, OnUpdateSortDate)
    ON_COMMAND(ID_SORT_SIZE, OnSortSize)
    ON_UPDATE_COMMAND_UI(ID_SORT_SIZE, OnUpdateSortSize)
    ON_COMMAND(ID_SORT_EXT, OnSortExt)
    ON_UPDATE_COMMAND_UI(ID_SORT_EXT, OnUpdateSortExt)
    ON_COMMAND(ID_SORT_NAME, OnSortName)
    ON_UPDATE_COMMAND_UI(ID_SORT_NAME, OnUpdateSortName)
    ON_COMMAND(ID_RENAME, OnRename)
    ON_UPDATE_COMMAND_UI(ID_RENAME, OnUpdateRename)
    ON_WM_SETFOCUS()
    ON_COMMAND(IDM_EDIT_COPY, OnEditCopy)
    ON_WM_CONTEXTMENU()
    ON_COMMAND(ID_PROPERTIES, OnProperties)
    ON_UPDATE_COMMAND_UI(ID_PROPERTIES, OnUpdateProperties)
    ON_COMMAND(ID_TEST_SELECTED, OnTestSelected)
    ON_UPDATE_COMMAND_UI(ID_TEST_SELECTED, OnUpdateExtract)
END_MESSAGE_MAP()

static const UINT kListId = 8000;

CFileView::CFileView() : m_bDetails(TRUE) {}

CFileView::~CFileView() {}

CArchiveDoc* CFileView::GetDocument() const { return static_cast<CArchiveDoc*>(m_pDocument); }

int CFileView::OnCreate(LPCREATESTRUCTA lpcs) {
    if (CView::OnCreate(lpcs) == -1) return -1;
    DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LVS_ALIGNLEFT |
                    LVS_AUTOARRANGE | LVS_SORTASCENDING | (m_bDetails ? LVS_REPORT : LVS_LIST);
    if (!m_wndList.Create(dwStyle, CRect(0, 0, 100, 100), this, kListId)) return -1;
    m_wndList.m_pOwnerView = this;
    return 0;
}

void CFileView::OnSize(UINT nType, int cx, int cy) {
    CView::OnSize(nType, cx, cy);
    RECT rc;
    GetClientRect(&rc);
    m_wndList.MoveWindow(0, 0, rc.right, rc.bottom, TRUE);
}

void CFileView::OnSetFocus(HWND hOldWnd) {
    CView::OnSetFocus(hOldWnd);
    m_wndList.SetFocus();
}

void CFileView::OnInitialUpdate() {
    CView::OnInitialUpdate();
    SetFocus();
}

void CFileView::OnDraw(HDC) {}

void CFileView::OnUpdate(CView*, LPARAM lHint, CObject*) {
    if (lHint == CArchiveDoc::kHintEntriesGone) {
        ForgetEntries();
        return;
    }
    FillList();
    m_wndList.Resort();
    m_wndList.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void CFileView::ForgetEntries() {
    if (m_wndList.m_hWnd != NULL) m_wndList.DeleteAllItems();
}

void CFileView::FillList() {
    ForgetEntries();
    CArchiveDoc* pDoc = GetDocument();
    if (pDoc == NULL) return;
    // Entry paths normally end in a backslash already; the root's is empty.
    CString wanted = WithTrailingBackslash(pDoc->GetCurrentDir());
    for (int i = 0; i < pDoc->GetEntryCount(); ++i)
        if (WithTrailingBackslash(pDoc->GetEntry(i)->m_strPath) == wanted) AddEntryRow(pDoc->GetEntry(i));
}

void CFileView::AddEntryRow(const CArcfileItem* pItem) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = 0;
    item.pszText = const_cast<LPSTR>((LPCSTR)pItem->m_strName);
    item.iImage = 2;
    item.lParam = (LPARAM)pItem;
    int nRow = m_wndList.InsertItem(&item);
    if (nRow < 0) return;
    m_wndList.SetItemText(nRow, 1, KilobyteText(pItem->GetOriginalSize()));
    m_wndList.SetItemText(nRow, 2, ZuvoApp()->GetFileTypeName(pItem->m_strName));
    m_wndList.SetItemText(nRow, 3, RatioText(*pItem));
    m_wndList.SetItemText(nRow, 4, DateTimeText(*pItem));
}

void CFileView::GetSelectedPaths(CStringArray& paths) const {
    paths.RemoveAll();
    for (int nRow = m_wndList.GetNextItem(-1, LVNI_SELECTED); nRow >= 0;
         nRow = m_wndList.GetNextItem(nRow, LVNI_SELECTED)) {
        const CArcfileItem* pItem = reinterpret_cast<const CArcfileItem*>(m_wndList.GetItemData(nRow));
        if (pItem != NULL) paths.Add(pItem->GetFullPath());
    }
}

// --- Commands -------------------------------------------------------------

void CFileView::OnUpdateExtract(CCmdUI* pCmdUI) { pCmdUI->Enable(m_wndList.GetSelectedCount() > 0); }
void CFileView::OnUpdateOpenEntry(CCmdUI* pCmdUI) { pCmdUI->Enable(m_wndList.GetSelectedCount() == 1); }
void CFileView::OnUpdateMiniViewer(CCmdUI* pCmdUI) { pCmdUI->Enable(m_wndList.GetSelectedCount() == 1); }
void CFileView::OnUpdateRename(CCmdUI* pCmdUI) { pCmdUI->Enable(m_wndList.GetSelectedCount() == 1); }
void CFileView::OnUpdateSelectAll(CCmdUI* pCmdUI) { pCmdUI->Enable(m_wndList.GetItemCount() > 0); }
void CFileView::OnUpdateDelete(CCmdUI* pCmdUI) { pCmdUI->Enable(m_wndList.GetItemCount() > 0); }

void CFileView::OnExtract() {
    CArchiveDoc* pDoc = GetDocument();
    if (m_wndList.GetSelectedCount() == 0 || pDoc == NULL) return;
    CDirSelectDlg dlg(FALSE);
    dlg.m_bDirExtract = pDoc->m_bDirUnpack;
    if (dlg.DoModal() != IDOK) return;
    pDoc->m_bDirUnpack = dlg.m_bDirExtract;
    CStringArray paths;
    GetSelectedPaths(paths);
    if (paths.GetSize() > 0) pDoc->ExtractEntries(paths, dlg.GetSelectedDir(), dlg.m_bDirExtract);
}

// Drawing stops on the list itself: stopped on the view, whose default
// handling hides it, the list's own invalidations were dropped, and
// invalidating the view afterwards does not reach its child.
void CFileView::OnSelectAll() {
    m_wndList.SetRedraw(FALSE);
    int nCount = m_wndList.GetItemCount();
    for (int i = 0; i < nCount; ++i) m_wndList.SetItemState(i, LVIS_SELECTED, LVIS_SELECTED);
    m_wndList.SetRedraw(TRUE);
    m_wndList.Invalidate(TRUE);
}

void CFileView::OnDelete() {
    if (m_wndList.GetSelectedCount() == 0) return;
    if (QuestionMessage(IDS_CONFIRM_DELETE) != IDYES) return;
    CStringArray paths;
    GetSelectedPaths(paths);
    if (paths.GetSize() > 0 && GetDocument() != NULL) GetDocument()->DeleteEntries(paths);
}

void CFileView::OnRename() {
    CStringArray paths;
    GetSelectedPaths(paths);
    if (paths.GetSize() > 0 && !paths[0].IsEmpty() && GetDocument() != NULL)
        GetDocument()->RenameEntry(paths[0]);
}

void CFileView::OnSortDate() { m_wndList.SortBy(4); }
void CFileView::OnSortSize() { m_wndList.SortBy(1); }
void CFileView::OnSortExt() { m_wndList.SortBy(2); }
void CFileView::OnSortName() { m_wndList.SortBy(0); }
void CFileView::OnUpdateSortDate(CCmdUI* pCmdUI) { pCmdUI->SetRadio(m_wndList.GetSortColumn() == 4); }
void CFileView::OnUpdateSortSize(CCmdUI* pCmdUI) { pCmdUI->SetRadio(m_wndList.GetSortColumn() == 1); }
void CFileView::OnUpdateSortExt(CCmdUI* pCmdUI) { pCmdUI->SetRadio(m_wndList.GetSortColumn() == 2); }
void CFileView::OnUpdateSortName(CCmdUI* pCmdUI) { pCmdUI->SetRadio(m_wndList.GetSortColumn() == 0); }

// Taken so that Ctrl+C in the list does nothing; the listing's copy is the
// document's own command.
void CFileView::OnEditCopy() {}

void CFileView::SetDetails(BOOL bDetails) {
    m_bDetails = bDetails;
    m_wndList.SetViewType(bDetails ? LVS_REPORT : LVS_LIST);
}
