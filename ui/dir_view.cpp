// CDirView: building the directory tree from the entries' paths, making the
// user's choice of a node the document's current folder, and extracting a
// whole directory.
#include "ui/dir_view.h"

#include "app/archive_doc.h"
#include "engine/arcfile_item.h"
#include "framework/cmd_ui.h"
#include "framework/path_parts.h"
#include "framework/wine_platform.h"
#include "res/resource.h"
#include "ui/dir_select_dlg.h"

IMPLEMENT_DYNCREATE(CDirView, CView)

BEGIN_MESSAGE_MAP(CDirView, CView)
    ON_COMMAND(ID_EXTRACT, OnExtract)
    ON_UPDATE_COMMAND_UI(ID_EXTRACT, OnUpdateExtract)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_COMMAND(ID_FONT, OnFont)
    ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

static const UINT kTreeId = 110;
// The label of a folder without a name (the empty first component of an
// absolute name such as \ABS\X.TXT): no real folder name holds a backslash.
static const char kUnnamedFolder[] = "\\";

CDirView::CDirView() {}

CDirView::~CDirView() {}

CArchiveDoc* CDirView::GetDocument() const { return static_cast<CArchiveDoc*>(m_pDocument); }

int CDirView::OnCreate(LPCREATESTRUCTA lpcs) {
    if (CView::OnCreate(lpcs) == -1) return -1;
    DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | TVS_HASBUTTONS |
                    TVS_HASLINES | TVS_LINESATROOT;
    // Under Wine the tree's own tooltip window, a topmost popup owned by the
    // main window, keeps the main window from staying on top.
    if (AfxRunningOnWine()) dwStyle |= TVS_NOTOOLTIPS;
    if (!m_wndTree.Create(dwStyle, CRect(0, 0, 100, 100), this, kTreeId)) return -1;
    return 0;
}

void CDirView::OnSize(UINT nType, int cx, int cy) {
    CView::OnSize(nType, cx, cy);
    m_wndTree.MoveWindow(0, 0, cx, cy, TRUE);
}

void CDirView::OnSetFocus(HWND hOldWnd) {
    CView::OnSetFocus(hOldWnd);
    m_wndTree.SetFocus();
}

void CDirView::OnDraw(HDC) {}

// The font command belongs to the MiniViewer; here it is taken and ignored.
void CDirView::OnFont() {}

void CDirView::OnInitialUpdate() {
    m_wndTree.DeleteAllItems();
    m_nodes.clear();
    CView::OnInitialUpdate();
}

// Only a new listing changes the folders; another folder shown or entries
// going away leave the tree as it is.
void CDirView::OnUpdate(CView*, LPARAM lHint, CObject*) {
    if (lHint != CArchiveDoc::kHintListing) return;
    m_wndTree.DeleteAllItems();
    m_nodes.clear();
    CArchiveDoc* pDoc = GetDocument();
    if (pDoc == NULL) return;
    CString path = pDoc->GetPathName();
    CString rootName = path.Mid(LastComponentStart(path));
    // An open archive shows its top node even without entries.
    if (rootName.IsEmpty() || !pDoc->HasArchive()) return;

    BeginWaitCursor();
    // Drawing stays off while the nodes go in: a visible tree lays itself out
    // again after every insertion, which made 2,000 folders take seconds.
    m_wndTree.SetRedraw(FALSE);
    HTREEITEM hTop = m_wndTree.InsertItem(rootName, 0, 1, TVI_ROOT, TVI_LAST);
    // Entries of one directory usually follow each other; a path just
    // inserted adds nothing the second time.
    CString lastDir;
    for (int i = 0; i < pDoc->GetEntryCount(); ++i) {
        const CString& dir = pDoc->GetEntry(i)->m_strPath;
        if (dir.IsEmpty() || dir == lastDir) continue;
        InsertPath(dir, rootName);
        lastDir = dir;
    }
    const CStringArray& folders = pDoc->GetFolders();
    for (int i = 0; i < folders.GetSize(); ++i)
        if (!folders[i].IsEmpty()) InsertPath(folders[i], rootName);
    m_wndTree.SetRedraw(TRUE);
    m_wndTree.Invalidate();
    m_wndTree.SelectItem(hTop);

    // Lines only when there is more than the top node.
    DWORD dwStyle = m_wndTree.GetStyle();
    dwStyle = m_wndTree.GetCount() >= 2 ? (dwStyle | TVS_HASLINES) : (dwStyle & ~TVS_HASLINES);
    ::SetWindowLongA(m_wndTree.m_hWnd, GWL_STYLE, (LONG)dwStyle);
    EndWaitCursor();
}

void CDirView::InsertPath(LPCSTR lpszDir, LPCSTR lpszRootName) {
    HTREEITEM hTop = m_wndTree.GetRootItem();
    if (hTop == NULL) return;
    // Any length: the root name and the path are joined in a string. Labels
    // compare byte for byte, so each prefix up to a backslash names one node.
    CString path = CString(lpszRootName) + "\\" + lpszDir;
    HTREEITEM hParent = NULL;
    int nStart = 0;
    for (int nSlash = path.Find('\\'); nSlash >= 0; nSlash = path.Find('\\', nStart)) {
        HTREEITEM hNode = hTop;  // the first component is the root name
        if (hParent != NULL) {
            std::string prefix((LPCSTR)path, nSlash);
            auto it = m_nodes.find(prefix);
            if (it != m_nodes.end()) {
                hNode = it->second;
            } else {
                CString label = path.Mid(nStart, nSlash - nStart);
                hNode = m_wndTree.InsertItem(label.IsEmpty() ? kUnnamedFolder : (LPCSTR)label, 0, 1, hParent,
                                             TVI_SORT);
                m_nodes[prefix] = hNode;
                // Opened once it has a child: the whole tree shows open, and
                // a node without children would not stay expanded.
                m_wndTree.Expand(hParent, TVE_EXPAND);
            }
        }
        hParent = hNode;
        nStart = nSlash + 1;
    }
}

CString CDirView::GetSelectedPath() const {
    CString path;
    HTREEITEM hTop = m_wndTree.GetRootItem();
    for (HTREEITEM hItem = m_wndTree.GetSelectedItem(); hItem != NULL && hItem != hTop;
         hItem = m_wndTree.GetParentItem(hItem)) {
        CString label = m_wndTree.GetItemText(hItem);
        path = (label == kUnnamedFolder ? CString() : label) + "\\" + path;
    }
    return path;
}

BOOL CDirView::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const NMTREEVIEWA* pNotify = reinterpret_cast<const NMTREEVIEWA*>(lParam);
    BOOL bSelChanged = pNotify->hdr.code == TVN_SELCHANGEDA || pNotify->hdr.code == TVN_SELCHANGEDW;
    // Only the user's choices are announced; the rebuild's own selection is not.
    if (pNotify->hdr.idFrom == kTreeId && bSelChanged &&
        (pNotify->action == TVC_BYMOUSE || pNotify->action == TVC_BYKEYBOARD))
        AnnounceSelectedPath();
    return CView::OnNotify(wParam, lParam, pResult);
}

void CDirView::OnUpdateExtract(CCmdUI* pCmdUI) { pCmdUI->Enable(m_wndTree.GetSelectedItem() != NULL); }

void CDirView::OnExtract() {
    CArchiveDoc* pDoc = GetDocument();
    if (m_wndTree.GetSelectedItem() == NULL || pDoc == NULL) return;
    CDirSelectDlg dlg(FALSE);
    dlg.m_bDirExtract = pDoc->m_bDirUnpack;
    if (dlg.DoModal() != IDOK) return;
    pDoc->m_bDirUnpack = dlg.m_bDirExtract;
    pDoc->ExtractFolder(GetSelectedPath(), dlg.GetSelectedDir());
}
