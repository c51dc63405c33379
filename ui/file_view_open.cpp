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
#include "ui/temp_copies.h"

namespace {

// The entry of the one selected row; NULL unless exactly one is selected.
CArcfileItem* OnlySelectedEntry(const CFileListCtrl& list) {
    if (list.GetSelectedCount() != 1) return NULL;
    int nRow = list.GetNextItem(-1, LVNI_SELECTED);
    return nRow < 0 ? NULL : reinterpret_cast<CArcfileItem*>(list.GetItemData(nRow));
}

CString DirectoryOf(const CString& strPath) { return strPath.Left(strPath.ReverseFind('\\') + 1); }

// The whole file as bytes; FALSE when it cannot be read.
BOOL ReadWholeFile(LPCSTR lpszPath, std::string& data) {
    HANDLE hFile = CreateFileA(lpszPath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE) return FALSE;
    BOOL bOk = TRUE;
    char buffer[65536];
    DWORD nRead = 0;
    while ((bOk = ReadFile(hFile, buffer, sizeof(buffer), &nRead, NULL)) && nRead > 0)
        data.append(buffer, nRead);
    CloseHandle(hFile);
    return bOk;
}

}  // namespace

void CFileView::OnOpenEntry() {
    CArcfileItem* pItem = OnlySelectedEntry(m_wndList);
    CArchiveDoc* pDoc = GetDocument();
    if (pItem == NULL || pDoc == NULL || pDoc->m_pArchive == NULL) return;
    CTempCopies copies(pDoc);
    CString strPath = copies.Add(pItem);
    if (!copies.Extract(pDoc->m_pArchive)) return;  // the library has said why

    HINSTANCE hInstance = OpenWithItsProgram(AfxGetMainWndHandle(), strPath, DirectoryOf(strPath));
    if ((INT_PTR)hInstance <= 32) {
        DeleteTempCopy(strPath);
        ErrorMessage(IDS_EXEC_FAILED);
        return;
    }
    pDoc->AddTempFile(hInstance, strPath);
}

void CFileView::OnMiniViewer() {
    CArcfileItem* pItem = OnlySelectedEntry(m_wndList);
    CArchiveDoc* pDoc = GetDocument();
    if (pItem == NULL || pDoc == NULL || pDoc->m_pArchive == NULL) return;
    CTempCopies copies(pDoc);
    CString strPath = copies.Add(pItem);
    DeleteFileA(strPath);
    if (copies.Extract(pDoc->m_pArchive)) {
        // An entry too large for memory, or a copy that cannot be read, shows
        // nothing; the library reports a failed extraction itself.
        try {
            std::string text;
            if (ReadWholeFile(strPath, text) && !ShowInMiniViewer(text.c_str(), pItem->m_strName))
                AfxMessageBox("Open Error", MB_OK);
        } catch (...) {
        }
    }
    // Also what a failed extraction may have left.
    DeleteTempCopy(strPath);
}

BOOL CFileView::ShowInMiniViewer(LPCSTR lpszText, LPCSTR lpszName) {
    CMiniViewFrame* pViewer = ZuvoApp()->GetMiniViewer();
    if (pViewer == NULL) return FALSE;
    CString strTitle("MiniViewer - ");
    strTitle += lpszName;
    pViewer->SetWindowText(strTitle);
    // The control takes the text up to its first zero byte.
    pViewer->m_wndEdit.SetWindowText(lpszText);
    pViewer->ShowWindow(SW_SHOWNORMAL);
    pViewer->SetForegroundWindow();
    return TRUE;
}
