// CTempCopies: putting a copy that was changed in its program back into its
// archive, at the entry's own path; and the application's offer of them.
#include "app/archive_doc.h"
#include "app/messages.h"
#include "app/temp_copies.h"
#include "app/zuvo_app.h"
#include "engine/lha.h"
#include "framework/frame_wnd.h"
#include "framework/path_parts.h"
#include "res/resource.h"

namespace {

// An archive that took a change is a new file: its size or write time moves.
struct FileState {
    BOOL bThere = FALSE;
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    explicit FileState(LPCSTR lpszPath) {
        bThere = GetFileAttributesExA(lpszPath, GetFileExInfoStandard, &data);
    }
    BOOL operator==(const FileState& other) const {
        return bThere == other.bThere && data.nFileSizeLow == other.data.nFileSizeLow &&
               data.nFileSizeHigh == other.data.nFileSizeHigh &&
               CompareFileTime(&data.ftLastWriteTime, &other.data.ftLastWriteTime) == 0;
    }
};

}  // namespace

BOOL CTempCopies::PutBack(const Copy& copy) {
    // The copy bears its entry's name; the library stores it in the entry's
    // folder, and the copy's write time lets it replace the older entry.
    int nName = LastComponentStart(copy.strEntry);
    if (copy.strPath.Mid(LastComponentStart(copy.strPath)) != copy.strEntry.Mid(nName)) return FALSE;
    FileState before(copy.strArchive);
    CLha archive(copy.strArchive);
    CStringArray files;
    files.Add(copy.strPath);
    archive.AddFiles(files, FALSE, copy.strEntry.Left(nName));
    // The library has reported its own failure, if any; an archive that is
    // the same file as before took nothing.
    return !(FileState(copy.strArchive) == before);
}

void CTempCopies::OfferChanged(CStringArray& updated) {
    if (m_bOffering) return;
    m_bOffering = TRUE;
    // By path: while a box is up other messages run and may add or drop records.
    CStringArray candidates;
    for (const Copy& copy : m_copies)
        if (!copy.strArchive.IsEmpty() && !copy.bDeclined && !copy.IsAsRecorded()) candidates.Add(copy.strPath);
    for (int i = 0; i < candidates.GetSize(); ++i) {
        auto find = [&]() -> Copy* {
            for (Copy& copy : m_copies)
                if (copy.strPath.CompareNoCase(candidates[i]) == 0) return &copy;
            return nullptr;
        };
        Copy* pCopy = find();
        if (pCopy == nullptr || pCopy->bDeclined || pCopy->IsAsRecorded()) continue;
        CString strEntry = pCopy->strEntry;
        int nAnswer = QuestionMessage(IDS_COPY_CHANGED, (LPCSTR)strEntry);
        if ((pCopy = find()) == nullptr) continue;
        BOOL bPut = FALSE;
        if (nAnswer == IDYES) {
            Copy taken = *pCopy;
            bPut = PutBack(taken);
            if ((pCopy = find()) == nullptr) continue;
        }
        if (bPut) {
            pCopy->Stamp();  // what is in the archive now; a later change asks again
            if (!IsListed(updated, pCopy->strArchive)) updated.Add(pCopy->strArchive);
            continue;
        }
        // Kept out of the archive, or it could not go in: it stays at exit
        // and is not asked for again.
        pCopy->bDeclined = TRUE;
        if (nAnswer == IDYES) ErrorMessage(IDS_PUT_BACK_FAILED, (LPCSTR)strEntry, (LPCSTR)pCopy->strPath);
    }
    m_bOffering = FALSE;
}

BOOL CZuvoApp::OnIdle(LONG lCount) {
    if (m_bOfferCopiesWhenIdle) {
        m_bOfferCopiesWhenIdle = FALSE;
        OfferChangedCopies();
    }
    return CWinApp::OnIdle(lCount);
}

// Looked up only after the boxes: the window or the archive shown may have
// changed while they were up.
void CZuvoApp::OfferChangedCopies() {
    CStringArray updated;
    m_tempCopies.OfferChanged(updated);
    CFrameWnd* pFrame = static_cast<CFrameWnd*>(m_pMainWnd);
    CArchiveDoc* pDoc = pFrame != NULL ? static_cast<CArchiveDoc*>(pFrame->GetActiveDocument()) : NULL;
    if (pDoc != NULL && pDoc->HasArchive() && CTempCopies::IsListed(updated, pDoc->GetArchive()->m_strArchive))
        pDoc->Reread();
}
