// CFileListCtrl: the file list's list control. Five columns with measured
// default widths, the remembered widths and sort order, the order of two
// entries, and the mouse notifications handed on to the owning view.
#pragma once

#include "framework/controls.h"
#include "framework/image_list.h"

class CFileView;

class CFileListCtrl : public CListCtrl {
    DECLARE_DYNAMIC(CFileListCtrl)
public:
    enum { kColumns = 5, kDescending = 0x8000 };

    CFileListCtrl();

    // Picks the sort column: the current one again reverses the direction,
    // another keeps it. Then re-sorts.
    void SortBy(int nColumn);
    void Resort();
    int GetSortColumn() const { return m_nSortOrder & ~kDescending; }
    BOOL IsAscending() const { return (m_nSortOrder & kDescending) == 0; }
    // Replaces the view type (LVS_LIST, LVS_REPORT) and keeps every other
    // style bit. Leaving report mode keeps the column widths for the settings.
    void SetViewType(DWORD dwViewType);

    // Row order for LVM_SORTITEMS: lParam1 and lParam2 are CArcfileItem*, the
    // sort parameter is an m_nSortOrder value.
    static int CALLBACK CompareItems(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);
    // Whether a stored "nSortOrder" names a column and a direction.
    static BOOL IsValidSortOrder(int nOrder);

    CFileView* m_pOwnerView;
    CImageList m_imageList;
    int m_nSortOrder;
    // Counts every change of the rows or of their states, so that what is
    // derived from them is derived again only when it may differ.
    UINT m_nRowChanges;

    afx_msg int OnCreate(LPCREATESTRUCTA lpcs);
    afx_msg void OnDestroy();
    afx_msg void OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDblClk(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnRClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnReturn(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnRowsChanged(NMHDR* pNMHDR, LRESULT* pResult);

protected:
    BOOL IsReportMode() const { return (GetStyle() & LVS_TYPEMASK) == LVS_REPORT; }
    // At least the column's template, and room for its header and a typical cell.
    int DefaultColumnWidth(int nColumn);
    void RememberColumnWidths();

    // Report-mode widths as last seen, for a control destroyed in list mode
    // (which would answer every width query with its one list width).
    int m_nReportWidths[kColumns];

    DECLARE_MESSAGE_MAP()
};
