// CArchiveDoc: listing an archive into entries, and the document's small
// services to the commands.
#include "app/archive_doc.h"

#include <sys/stat.h>

#include "app/messages.h"
#include "app/zuvo_app.h"
#include "engine/lha.h"
#include "framework/file_dialog.h"
#include "framework/path_parts.h"
#include "res/resource.h"
#include "settings/remembered_settings.h"
#include "ui/file_view.h"

IMPLEMENT_DYNCREATE(CArchiveDoc, CDocument)

const char CArchiveDoc::kArchiveFilter[] =
    "LZH Files (*.lzh;*.lha) |*.lzh;*.lha|SFX Files (*.exe) |*.exe|All Files (*.*) |*.*||";

CArchiveDoc::CArchiveDoc() : m_bDirUnpack(LoadExtractWithFolders()), m_pArchive(NULL) {}

CArchiveDoc::~CArchiveDoc() {
    DeleteItems();
    DropArchive();
}

void CArchiveDoc::DeleteItems() {
    if (m_items.GetSize() == 0 && m_folders.GetSize() == 0) return;
    FreeItems();
    UpdateAllViews(NULL);
}

// The file list's rows point at the entries: they go first.
void CArchiveDoc::FreeItems() {
    m_folders.RemoveAll();
    if (CFileView* pView = FindFileView()) pView->ForgetEntries();
    for (int i = 0; i < m_items.GetSize(); ++i) delete m_items[i];
    m_items.RemoveAll();
}

void CArchiveDoc::DropArchive() {
    delete m_pArchive;  // releases the library if a listing still held it
    m_pArchive = NULL;
}

// The views are told at once, so that nothing shows entries or an archive
// that are gone, not even behind the message box of an open that fails (an
// open archive shows its top node even without entries).
void CArchiveDoc::DeleteContents() {
    BOOL bShown = m_pArchive != NULL || m_items.GetSize() > 0 || m_folders.GetSize() > 0;
    FreeItems();
    DropArchive();
    if (bShown) UpdateAllViews(NULL);
}

BOOL CArchiveDoc::OnOpenDocument(LPCSTR lpszPathName) {
    if (!CDocument::OnOpenDocument(lpszPathName)) return FALSE;
    return Load(lpszPathName);
}

BOOL CArchiveDoc::Load(LPCSTR lpszPathName) {
    DeleteContents();
    m_pArchive = new CLha(lpszPathName);

    struct _stat st;
    if (_stat(lpszPathName, &st) == 0) {
        if (!m_pArchive->CheckArchive()) {
            DropArchive();
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
            DropArchive();
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

CFileView* CArchiveDoc::FindFileView() {
    POSITION pos = GetFirstViewPosition();
    while (pos) {
        CView* pView = GetNextView(pos);
        if (pView && pView->IsKindOf(RUNTIME_CLASS(CFileView))) return static_cast<CFileView*>(pView);
    }
    return NULL;
}

BOOL CArchiveDoc::GetArchiveToWorkOn() {
    if (GetPathName().IsEmpty() && !PromptNewArchive()) return FALSE;
    return m_pArchive != NULL;
}

void CArchiveDoc::AddDroppedFiles(const CStringArray& paths) {
    if (!GetArchiveToWorkOn()) return;
    m_pArchive->AddFiles(paths, FALSE);
    Load(GetPathName());
}
