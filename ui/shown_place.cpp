#include "ui/shown_place.h"

#include "app/archive_doc.h"
#include "app/zuvo_app.h"
#include "framework/document.h"
#include "framework/path_parts.h"
#include "ui/dir_view.h"
#include "ui/file_view.h"
#include "ui/show_folder.h"

namespace {

CView* FindPane(CDocument* pDoc, const CRuntimeClass* pClass) {
    if (pDoc == NULL) return NULL;
    for (POSITION pos = pDoc->GetFirstViewPosition(); pos;) {
        CView* pView = pDoc->GetNextView(pos);
        if (pView != NULL && pView->IsKindOf(pClass)) return pView;
    }
    return NULL;
}

CFileView* ListPane(CDocument* pDoc) {
    return static_cast<CFileView*>(FindPane(pDoc, RUNTIME_CLASS(CFileView)));
}

CDirView* TreePane(CDocument* pDoc) { return static_cast<CDirView*>(FindPane(pDoc, RUNTIME_CLASS(CDirView))); }

// "DOC\\SUB\\" -> "DOC\\", "DOC\\" -> "".
CString ParentFolder(const CString& strDir) {
    CString dir = strDir;
    if (!dir.IsEmpty() && dir[dir.GetLength() - 1] == '\\') dir = dir.Left(dir.GetLength() - 1);
    return dir.Left(LastComponentStart(dir));
}

}  // namespace

CShownPlace TakeShownPlace(CDocument* pDoc) {
    CShownPlace place;
    CFileView* pList = ListPane(pDoc);
    if (pList == NULL) return place;
    place.m_strDir = pList->m_strCurDir;
    int nRow = pList->m_wndList.m_hWnd != NULL ? pList->m_wndList.GetNextItem(-1, LVNI_FOCUSED) : -1;
    if (nRow >= 0) place.m_strName = pList->m_wndList.GetItemText(nRow, 0);
    return place;
}

void ShowPlaceAgain(CDocument* pDoc, const CShownPlace& place) {
    CDirView* pTree = TreePane(pDoc);
    CFileView* pList = ListPane(pDoc);
    CString strName = place.m_strName;
    for (CString dir = place.m_strDir;; dir = ParentFolder(dir), strName.Empty()) {
        // The re-listing itself shows the root with its first row.
        if (dir.IsEmpty() && strName.IsEmpty()) return;
        if (ShowFolderAndRow(pTree, pList, dir, strName) || dir.IsEmpty()) return;
    }
}

CString ShownFolder(CDocument* pDoc) {
    CFileView* pList = ListPane(pDoc);
    return pList != NULL ? pList->m_strCurDir : CString();
}

BOOL RelistInPlace(CArchiveDoc* pDoc, BOOL bReopen) {
    if (pDoc == NULL || pDoc->GetPathName().IsEmpty()) return FALSE;
    CShownPlace place = TakeShownPlace(pDoc);
    CString path = pDoc->GetPathName();
    if (bReopen) {
        ZuvoApp()->Reopen(path);
        // A failed open leaves no archive to show a place in.
        if (pDoc->m_pArchive == NULL) return FALSE;
    } else if (!pDoc->Load(path)) {
        return FALSE;
    }
    ShowPlaceAgain(pDoc, place);
    return TRUE;
}
