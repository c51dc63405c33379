// CFileView: opening one row with the program the shell associates with it,
// or reading it as text into the MiniViewer.
#include "ui/file_view.h"

#include <shellapi.h>

#include <string>

#include "app/archive_doc.h"
#include "app/messages.h"
#include "app/zuvo_app.h"
#include "engine/arcfile.h"
#include "engine/arcfile_item.h"
#include "framework/afx_state.h"
#include "framework/msgbox.h"
#include "res/resource.h"
#include "ui/desktop_open.h"
#include "ui/mini_view_frame.h"
#include "ui/viewer_text.h"

namespace {

// The entry of the one selected row; NULL unless exactly one is selected.
CArcfileItem* OnlySelectedEntry(const CFileListCtrl& list) {
    if (list.GetSelectedCount() != 1) return NULL;
    int nRow = list.GetNextItem(-1, LVNI_SELECTED);
    return nRow < 0 ? NULL : reinterpret_cast<CArcfileItem*>(list.GetItemData(nRow));
}

CString DirectoryOf(const CString& strPath) { return strPath.Left(strPath.ReverseFind('\\') + 1); }

}  // namespace

void CFileView::OnOpenEntry() {
    CArcfileItem* pItem = OnlySelectedEntry(m_wndList);
    CArchiveDoc* pDoc = GetDocument();
    if (pItem == NULL || pDoc == NULL || !pDoc->HasArchive()) return;
    CTempCopies& owner = ZuvoApp()->m_tempCopies;
    CTempCopies::CBatch copies(owner);
    if (!copies.CheckDirectory()) return;
    CString strPath = copies.Add(pItem);
    if (!copies.Extract(*pDoc)) return;  // the library has said why

    // Recorded as extracted, before its program can change it.
    copies.Record(TRUE);
    HINSTANCE hInstance = OpenWithItsProgram(AfxGetMainWndHandle(), strPath, DirectoryOf(strPath));
    if ((INT_PTR)hInstance <= 32) {
        owner.Discard(strPath);
        ErrorMessage(IDS_EXEC_FAILED);
    }
}

void CFileView::OnMiniViewer() {
    CArcfileItem* pItem = OnlySelectedEntry(m_wndList);
    CArchiveDoc* pDoc = GetDocument();
    if (pItem == NULL || pDoc == NULL || !pDoc->HasArchive()) return;
    CTempCopies::CBatch copies(ZuvoApp()->m_tempCopies);
    if (!copies.CheckDirectory()) return;
    // The library's progress window dispatches posted messages, which may
    // list the archive again and free the entry: nothing of it is used after.
    CString strName = pItem->m_strName;
    CString strPath = copies.Add(pItem);
    pItem = NULL;
    DeleteFileA(strPath);
    if (copies.Extract(*pDoc)) {
        // A copy that cannot be read shows nothing; the library reports a
        // failed extraction itself.
        try {
            std::string head;
            ULONGLONG nTotal = 0;
            if (ReadViewerHead(strPath, head, nTotal)) {
                CString strCutNote;
                strCutNote.LoadString(IDS_VIEWER_CUT);
                if (!ShowInMiniViewer(ViewerText(head, nTotal, strCutNote).c_str(), strName))
                    AfxMessageBox("Open Error", MB_OK);
            }
        } catch (...) {
        }
    }
    // Also what a failed extraction may have left.
    CTempCopies::DeleteCopy(strPath);
}

BOOL CFileView::ShowInMiniViewer(LPCSTR lpszText, LPCSTR lpszName) {
    CMiniViewFrame* pViewer = ZuvoApp()->GetMiniViewer();
    if (pViewer == NULL) return FALSE;
    CString strTitle("MiniViewer - ");
    strTitle += lpszName;
    pViewer->SetWindowText(strTitle);
    pViewer->SetText(lpszText);
    pViewer->ShowWindow(SW_SHOWNORMAL);
    pViewer->SetForegroundWindow();
    return TRUE;
}
