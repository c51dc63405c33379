// CDirView: choosing a node for the user (a right click, a found file) and
// the context menu of the tree.
#include "ui/dir_view.h"

#include <cstring>

#include "app/archive_doc.h"
#include "res/resource.h"
#include "ui/context_menu.h"

void CDirView::AnnounceSelectedPath() {
    if (GetDocument() != NULL) GetDocument()->SetCurrentDir(GetSelectedPath(), this);
}

// The control does not announce a selection the program makes: this does.
void CDirView::SelectNode(HTREEITEM hItem) {
    m_wndTree.SelectItem(hItem);
    m_wndTree.SendMessage(TVM_ENSUREVISIBLE, 0, (LPARAM)hItem);
    AnnounceSelectedPath();
}

BOOL CDirView::SelectFolder(const CString& strDir) {
    HTREEITEM hTop = m_wndTree.GetRootItem();
    if (hTop == NULL) return FALSE;
    HTREEITEM hItem = hTop;
    if (!strDir.IsEmpty()) {
        // Nodes are kept by the root's label and the path without its last
        // backslash, as the rebuild made them.
        CString key = m_wndTree.GetItemText(hTop) + "\\" + strDir;
        if (key[key.GetLength() - 1] == '\\') key = key.Left(key.GetLength() - 1);
        auto it = m_nodes.find(std::string((LPCSTR)key, key.GetLength()));
        if (it == m_nodes.end()) return FALSE;
        hItem = it->second;
    }
    SelectNode(hItem);
    return TRUE;
}

// A right click chooses the node under the pointer first, as a left click
// would; the menu key and Shift+F10 (no point given) keep the selection.
void CDirView::OnContextMenu(HWND, POINT ptScreen) {
    HTREEITEM hItem = m_wndTree.GetSelectedItem();
    if (ptScreen.x == -1 && ptScreen.y == -1) {
        RECT rcItem = {0, 0, 0, 0};
        if (hItem != NULL) {
            memcpy(&rcItem, &hItem, sizeof(hItem));  // the message takes the node there
            m_wndTree.SendMessage(TVM_GETITEMRECT, TRUE, (LPARAM)&rcItem);
        }
        ptScreen = KeyboardMenuPoint(m_wndTree.m_hWnd, rcItem);
    } else {
        POINT ptClient = ptScreen;
        ::ScreenToClient(m_wndTree.m_hWnd, &ptClient);
        UINT nFlags = 0;
        HTREEITEM hHit = m_wndTree.HitTest(ptClient, &nFlags);
        if (hHit != NULL && (nFlags & TVHT_ONITEM) && hHit != hItem) SelectNode(hHit);
    }
    m_wndTree.SetFocus();
    TrackContextMenu(this, kTreeContextMenu, ptScreen);
}
