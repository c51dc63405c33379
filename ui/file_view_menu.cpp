// CFileView: the context menu of the list, and choosing one row for the user.
#include "ui/file_view.h"

#include "engine/arcfile_item.h"
#include "ui/context_menu.h"

// Only the menu key and Shift+F10 (no point given) open it: a right click on
// the list opens the MiniViewer.
void CFileView::OnContextMenu(HWND, POINT ptScreen) {
    if (ptScreen.x != -1 || ptScreen.y != -1) return;
    RECT rcItem = {0, 0, 0, 0};
    int nRow = m_wndList.GetNextItem(-1, LVNI_FOCUSED);
    if (nRow < 0) nRow = m_wndList.GetNextItem(-1, LVNI_SELECTED);
    if (nRow >= 0) {
        rcItem.left = LVIR_LABEL;
        m_wndList.SendMessage(LVM_GETITEMRECT, nRow, (LPARAM)&rcItem);
    }
    TrackContextMenu(this, kListContextMenu, KeyboardMenuPoint(m_wndList.m_hWnd, rcItem));
}

BOOL CFileView::SelectRowNamed(const CString& strName) {
    m_wndList.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    int nCount = m_wndList.GetItemCount();
    for (int nRow = 0; nRow < nCount; ++nRow) {
        const CArcfileItem* pItem = reinterpret_cast<const CArcfileItem*>(m_wndList.GetItemData(nRow));
        if (pItem == NULL || pItem->m_strName != strName) continue;
        m_wndList.SetItemState(nRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        m_wndList.EnsureVisible(nRow, FALSE);
        return TRUE;
    }
    return FALSE;
}
