// CDirView: the left pane, the archive's directories as a tree under one top
// node named after the archive. The node chosen is the document's current
// folder, which the document announces to the other views.
#pragma once

#include <map>
#include <string>

#include "framework/view.h"
#include "ui/dir_tree_ctrl.h"

class CArchiveDoc;

class CDirView : public CView {
    DECLARE_DYNCREATE(CDirView)
public:
    CDirView();
    ~CDirView() override;

    CArchiveDoc* GetDocument() const;

    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void OnInitialUpdate() override;
    // A new listing rebuilds the tree from the document's entries.
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(HDC hDC) override;

    // Relative directory path of the selected node (DOC\IMAGES\); empty for
    // the top node or no selection.
    CString GetSelectedPath() const;
    // Finds or makes the nodes of one directory path below the top node.
    void InsertPath(LPCSTR lpszDir, LPCSTR lpszRootName);
    // Selects the node of a relative directory path and tells the other views
    // as a user's choice does (dir_view_select.cpp); FALSE when there is none.
    BOOL SelectFolder(const CString& strDir);
    void SelectNode(HTREEITEM hItem);
    void AnnounceSelectedPath();

    CDirTreeCtrl m_wndTree;

    afx_msg void OnExtract();
    afx_msg void OnUpdateExtract(CCmdUI* pCmdUI);
    afx_msg int OnCreate(LPCREATESTRUCTA lpcs);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(HWND hOldWnd);
    afx_msg void OnFont();
    afx_msg void OnContextMenu(HWND hWnd, POINT ptScreen);

protected:
    // The node of each path made so far ("root\\DOC\\IMAGES", exact bytes),
    // so that a rebuild finds a folder without reading its siblings' labels.
    std::map<std::string, HTREEITEM> m_nodes;

    DECLARE_MESSAGE_MAP()
};
