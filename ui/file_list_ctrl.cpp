// CFileListCtrl: columns, remembered widths and sort order, notifications.
#include "ui/file_list_ctrl.h"

#include <algorithm>

#include "framework/winapp.h"
#include "res/resource.h"
#include "settings/remembered_settings.h"
#include "ui/file_view.h"

IMPLEMENT_DYNAMIC(CFileListCtrl, CListCtrl)

BEGIN_MESSAGE_MAP(CFileListCtrl, CListCtrl)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_NOTIFY_REFLECT(LVN_COLUMNCLICK, OnColumnClick)
    ON_NOTIFY_REFLECT(LVN_BEGINDRAG, OnBeginDrag)
    ON_NOTIFY_REFLECT(NM_DBLCLK, OnDblClk)
    ON_NOTIFY_REFLECT(NM_RCLICK, OnRClick)
    ON_NOTIFY_REFLECT(NM_RETURN, OnReturn)
    ON_NOTIFY_REFLECT(LVN_ITEMCHANGED, OnRowsChanged)
    ON_NOTIFY_REFLECT(LVN_INSERTITEM, OnRowsChanged)
    ON_NOTIFY_REFLECT(LVN_DELETEALLITEMS, OnRowsChanged)
    ON_NOTIFY_REFLECT(LVN_DELETEITEM, OnRowsChanged)
END_MESSAGE_MAP()

namespace {

struct ColumnSpec {
    const char* pszHeader;    // code page 932
    int nFormat;
    const char* pszTemplate;  // measured for the least default width, never shown
    const char* pszTypical;   // a typical cell, measured too
};

// 名前, ｻｲｽﾞ (half-width), ﾌｧｲﾙの種類 (half-width katakana), 圧縮率, 作成日;
// typical cells: an 8.3 name, some hundreds of megabytes, "BIN ﾌｧｲﾙ", a full
// ratio, a date with the seconds of its time.
const ColumnSpec kColumnSpecs[CFileListCtrl::kColumns] = {
    {"\x96\xbc\x91\x4f", LVCFMT_LEFT, "BBBBBBBBBBBBB", "NNNNNNNN.TXT"},
    {"\xbb\xb2\xbd\xde", LVCFMT_RIGHT, "BBBBBKBB", "888,888KB"},
    {"\xcc\xa7\xb2\xd9\x82\xcc\x8e\xed\x97\xde", LVCFMT_LEFT, "BYY/MM/DD HH:MMB", "BIN \xcc\xa7\xb2\xd9"},
    {"\x88\xb3\x8f\x6b\x97\xa6", LVCFMT_LEFT, "XXXX%X", "100%"},
    {"\x8d\xec\x90\xac\x93\xfa", LVCFMT_LEFT, "BYY/MM/DD HH:MMB", "88/88/88 88:88:88"},
};

// What the control draws around a cell's or a header's text, and the small
// icon (with its gap) before the first column's text.
const int kTextMargins = 16;
const int kIconWidth = 17 + 4;

}  // namespace

CFileListCtrl::CFileListCtrl() : m_pOwnerView(NULL), m_nSortOrder(0), m_nRowChanges(0) {
    for (int& cx : m_nReportWidths) cx = 0;
}

BOOL CFileListCtrl::IsValidSortOrder(int nOrder) {
    int nColumn = nOrder & ~kDescending;
    return nColumn >= 0 && nColumn < kColumns;
}

int CFileListCtrl::OnCreate(LPCREATESTRUCTA lpcs) {
    if (CListCtrl::OnCreate(lpcs) == -1) return -1;
    // Without the images the rows show without icons; nothing else is lost.
    // m_imageList destroys its list: the control must not destroy it too.
    ModifyStyle(0, LVS_SHAREIMAGELISTS);
    if (m_imageList.Create(IDB_TREE_IMAGES, 17, 3, RGB(0, 255, 0)))
        SetImageList(m_imageList, LVSIL_SMALL);

    for (int i = 0; i < kColumns; ++i) {
        const ColumnSpec& spec = kColumnSpecs[i];
        InsertColumn(i, spec.pszHeader, spec.nFormat, DefaultColumnWidth(i), i);
    }
    for (int i = 0; i < kColumns; ++i) {
        if (int cx = LoadColumnWidth(i)) SetColumnWidth(i, cx);
        m_nReportWidths[i] = GetColumnWidth(i);
    }
    int nOrder = LoadSortOrder();
    m_nSortOrder = IsValidSortOrder(nOrder) ? nOrder : 0;
    return 0;
}

int CFileListCtrl::DefaultColumnWidth(int nColumn) {
    const ColumnSpec& spec = kColumnSpecs[nColumn];
    int cx = GetStringWidth(spec.pszTemplate);
    cx = (std::max)(cx, GetStringWidth(spec.pszHeader) + kTextMargins);
    cx = (std::max)(cx, GetStringWidth(spec.pszTypical) + kTextMargins + (nColumn == 0 ? kIconWidth : 0));
    return cx;
}

void CFileListCtrl::RememberColumnWidths() {
    for (int i = 0; i < kColumns; ++i) m_nReportWidths[i] = GetColumnWidth(i);
}

// A new view type is laid out at once, but the control does not always draw
// it over what the old one left (the rows of the details view stayed on
// screen): the change of style is followed by a redraw of the whole control.
void CFileListCtrl::SetViewType(DWORD dwViewType) {
    if (IsReportMode() && dwViewType != LVS_REPORT) RememberColumnWidths();
    if (ModifyStyle(LVS_TYPEMASK, dwViewType & LVS_TYPEMASK, SWP_FRAMECHANGED))
        ::RedrawWindow(m_hWnd, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void CFileListCtrl::OnDestroy() {
    if (IsReportMode()) RememberColumnWidths();
    SaveColumnWidths(m_nReportWidths, kColumns);
    SaveSortOrder(m_nSortOrder);
    CListCtrl::OnDestroy();
}

void CFileListCtrl::SortBy(int nColumn) {
    if (nColumn == GetSortColumn())
        m_nSortOrder = IsAscending() ? (nColumn | kDescending) : nColumn;
    else
        m_nSortOrder = IsAscending() ? nColumn : (nColumn | kDescending);
    // The control's own text sort places new rows by name; the view re-sorts
    // after every fill, so it only needs to lean the same way.
    if (IsAscending())
        ModifyStyle(LVS_SORTDESCENDING, LVS_SORTASCENDING);
    else
        ModifyStyle(LVS_SORTASCENDING, LVS_SORTDESCENDING);
    Resort();
}

void CFileListCtrl::Resort() { SortItems(CompareItems, (DWORD_PTR)m_nSortOrder); }

void CFileListCtrl::OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult) {
    SortBy(((NMLISTVIEW*)pNMHDR)->iSubItem);
    *pResult = 0;
}

void CFileListCtrl::OnBeginDrag(NMHDR*, LRESULT* pResult) {
    if (m_pOwnerView != NULL) m_pOwnerView->OnBeginDrag();
    *pResult = 0;
}

// Both are posted: the view acts after the control has finished its own
// handling of the click.
void CFileListCtrl::OnDblClk(NMHDR*, LRESULT* pResult) {
    if (m_pOwnerView != NULL) m_pOwnerView->PostMessage(WM_COMMAND, ID_VIEW_ENTRY, 0);
    *pResult = 0;
}

void CFileListCtrl::OnRClick(NMHDR*, LRESULT* pResult) {
    if (m_pOwnerView != NULL) m_pOwnerView->PostMessage(WM_COMMAND, ID_MINIVIEWER, 0);
    *pResult = 0;
}

// Enter opens the selected entry, as a double click does.
void CFileListCtrl::OnReturn(NMHDR*, LRESULT* pResult) {
    if (m_pOwnerView != NULL) m_pOwnerView->PostMessage(WM_COMMAND, ID_VIEW_ENTRY, 0);
    *pResult = 0;
}

void CFileListCtrl::OnRowsChanged(NMHDR*, LRESULT* pResult) {
    ++m_nRowChanges;
    *pResult = 0;
}
