// CArchiveDoc: listing an archive into entries, the folder the views show, and
// the document's small services to the commands.
#include "app/archive_doc.h"

#include <sys/stat.h>

#include "app/messages.h"
#include "app/zuvo_app.h"
#include "engine/lha.h"
#include "framework/file_dialog.h"
#include "framework/frame_wnd.h"
#include "framework/path_parts.h"
#include "res/resource.h"
#include "settings/remembered_settings.h"

IMPLEMENT_DYNCREATE(CArchiveDoc, CDocument)

const char CArchiveDoc::kArchiveFilter[] =
    "LZH Files (*.lzh;*.lha) |*.lzh;*.lha|SFX Files (*.exe) |*.exe|All Files (*.*) |*.*||";

CArchiveDoc::CArchiveDoc() : m_bDirUnpack(LoadExtractWithFolders()) {}

CArchiveDoc::~CArchiveDoc() { FreeItems(); }

// The views let go of the entries before they are freed.
void CArchiveDoc::FreeItems() {
    m_folders.RemoveAll();
    m_strCurrentDir.Empty();
    if (m_items.GetSize() == 0) return;
    UpdateAllViews(NULL, kHintEntriesGone);
    for (int i = 0; i < m_items.GetSize(); ++i) delete m_items[i];
    m_items.RemoveAll();
}

// The views are told at once, so that nothing shows entries or an archive
// that are gone, not even behind the message box of an open that fails (an
// open archive shows its top node even without entries).
void CArchiveDoc::DeleteContents() {
    BOOL bShown = HasArchive() || m_items.GetSize() > 0 || m_folders.GetSize() > 0;
    FreeItems();
    m_pArchive.reset();  // releases the library if a listing still held it
    if (bShown) UpdateAllViews(NULL);
}

BOOL CArchiveDoc::CanCloseFrame(CFrameWnd* pFrame) {
    if (m_nCallsRunning == 0) return CDocument::CanCloseFrame(pFrame);
    m_hCloseWaiting = pFrame->m_hWnd;
    return FALSE;
}

BOOL CArchiveDoc::OnOpenDocument(LPCSTR lpszPathName) {
    if (!CDocument::OnOpenDocument(lpszPathName)) return FALSE;
    return Load(lpszPathName);
}

BOOL CArchiveDoc::Load(LPCSTR lpszPathName) {
    DeleteContents();
    m_pArchive = std::make_shared<CLha>(lpszPathName);

    struct _stat st;
    if (_stat(lpszPathName, &st) == 0) {
        if (!m_pArchive->CheckArchive()) {
            m_pArchive.reset();
            ErrorMessage(IDS_NOT_LZH);
            return FALSE;
        }
        CArcfileItem* pItem = new CArcfileItem;
        int status = m_pArchive->Open(pItem);
        // An archive without a single entry (every one deleted) is open and
        // empty: it still takes new files.
        if (status != ARC_ENTRY && status != ARC_EMPTY) {
            delete pItem;
            // Another program is changing an archive: an empty window alone
            // would not say so.
            if (status == ARC_BUSY) ErrorMessage(IDS_LIBRARY_BUSY);
            m_pArchive->Close();  // lets go of the library the failed open loaded
            m_pArchive.reset();
            return FALSE;
        }
        while (status == ARC_ENTRY) {
            // Directory entries have no name: the tree is built from paths,
            // theirs included (a folder without files still shows).
            if (pItem->m_strName.IsEmpty()) {
                m_folders.Add(pItem->m_strPath);
                delete pItem;
            } else
                m_items.Add(pItem);
            pItem = new CArcfileItem;
            status = m_pArchive->GetNext(pItem);
        }
        m_pArchive->Close();
        delete pItem;
    }
    UpdateAllViews(NULL);
    return TRUE;
}

BOOL CArchiveDoc::PromptNewArchive() {
    CFileDialog dlg(TRUE, NULL, NULL, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kArchiveFilter, NULL);
    CString title;
    title.LoadString(IDS_NEW_ARCHIVE_NAME);
    dlg.m_ofn.lpstrTitle = title;
    if (dlg.DoModal() != IDOK) return FALSE;

    // A name typed without an extension is an LZH archive's.
    CString path = dlg.GetPathName();
    if (PathExtension(path).IsEmpty()) path += ".lzh";
    // The tree names its top node after the document's path, so the path is
    // set before the listing that rebuilds it.
    CString strOldPath = GetPathName(), strOldTitle = GetTitle();
    SetPathName(path, FALSE);
    if (!Load(path)) {
        m_strPathName = strOldPath;
        SetTitle(strOldTitle);
        ErrorMessage(IDS_CREATE_FAILED);
        return FALSE;
    }
    SetPathName(path, TRUE);
    return TRUE;
}

void CArchiveDoc::SetCurrentDir(LPCSTR lpszDir, CView* pSender) {
    m_strCurrentDir = lpszDir;
    UpdateAllViews(pSender, kHintCurrentDir);
}

BOOL CArchiveDoc::HoldsFolder(const CString& strDir) const {
    if (strDir.IsEmpty()) return TRUE;
    // Paths start at a character boundary, so equal bytes are equal characters.
    CString wanted = WithTrailingBackslash(strDir);
    auto below = [&](const CString& path) {
        CString dir = WithTrailingBackslash(path);
        return dir.GetLength() >= wanted.GetLength() && dir.Left(wanted.GetLength()) == wanted;
    };
    for (int i = 0; i < m_items.GetSize(); ++i)
        if (below(GetEntry(i)->m_strPath)) return TRUE;
    for (int i = 0; i < m_folders.GetSize(); ++i)
        if (below(m_folders[i])) return TRUE;
    return FALSE;
}

BOOL CArchiveDoc::GetArchiveToWorkOn() {
    if (GetPathName().IsEmpty() && !PromptNewArchive()) return FALSE;
    return HasArchive();
}
