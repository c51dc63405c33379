// CFileView: the right pane, the entries of one directory of the archive as
// rows of a list, and the commands on the selected rows.
#pragma once

#include "framework/collections.h"
#include "framework/view.h"
#include "ui/file_list_ctrl.h"

class CArchiveDoc;
class CArcfileItem;

class CFileView : public CView {
    DECLARE_DYNCREATE(CFileView)
public:
    CFileView();
    ~CFileView() override;

    CArchiveDoc* GetDocument() const;

    void OnInitialUpdate() override;
    // Lists the document's current folder; drops the rows when the entries go.
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(HDC hDC) override;

    // Rebuilds the rows for the document's current folder.
    void FillList();
    void AddEntryRow(const CArcfileItem* pItem);
    // Drops every row; rows point into the document's entries, so this comes
    // before the entries are freed.
    void ForgetEntries();
    // Full paths in the archive of the selected rows, in row order.
    void GetSelectedPaths(CStringArray& paths) const;
    // Makes the row of the named file the only selected one (file_view_menu.cpp).
    BOOL SelectRowNamed(const CString& strName);

    // Dragging rows out (file_view_drag.cpp).
    void OnBeginDrag();
    BOOL ExtractSelectedToTemp(CStringArray& paths);
    HGLOBAL MakeDropFiles(const CStringArray& paths);
    void DragWithoutOle();

    // Opening and viewing one row (file_view_open.cpp).
    afx_msg void OnOpenEntry();
    afx_msg void OnMiniViewer();
    BOOL ShowInMiniViewer(LPCSTR lpszText, LPCSTR lpszName);

    // Details (report) or list mode.
    void SetDetails(BOOL bDetails);

    // One row's stored facts, and testing the selected rows (file_view_check.cpp).
    afx_msg void OnProperties();
    afx_msg void OnUpdateProperties(CCmdUI* pCmdUI);
    afx_msg void OnTestSelected();

    BOOL m_bDetails;
    CFileListCtrl m_wndList;

    afx_msg int OnCreate(LPCREATESTRUCTA lpcs);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(HWND hOldWnd);
    afx_msg void OnExtract();
    afx_msg void OnUpdateExtract(CCmdUI* pCmdUI);
    afx_msg void OnUpdateOpenEntry(CCmdUI* pCmdUI);
    afx_msg void OnUpdateMiniViewer(CCmdUI* pCmdUI);
    afx_msg void OnSelectAll();
    afx_msg void OnUpdateSelectAll(CCmdUI* pCmdUI);
    afx_msg void OnDelete();
    afx_msg void OnUpdateDelete(CCmdUI* pCmdUI);
    afx_msg void OnSortDate();
    afx_msg void OnUpdateSortDate(CCmdUI* pCmdUI);
    afx_msg void OnSortSize();
    afx_msg void OnUpdateSortSize(CCmdUI* pCmdUI);
    afx_msg void OnSortExt();
    afx_msg void OnUpdateSortExt(CCmdUI* pCmdUI);
    afx_msg void OnSortName();
    afx_msg void OnUpdateSortName(CCmdUI* pCmdUI);
    afx_msg void OnRename();
    afx_msg void OnUpdateRename(CCmdUI* pCmdUI);
    afx_msg void OnEditCopy();
    afx_msg void OnContextMenu(HWND hWnd, POINT ptScreen);

protected:
    DECLARE_MESSAGE_MAP()
};
