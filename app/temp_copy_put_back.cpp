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

// The components of an entry's path that lie below a folder: no drive, no
// root, no empty, "." or ".." part. FALSE for anything else.
BOOL SplitEntryPath(const CString& strEntry, CStringArray& parts) {
    parts.RemoveAll();
    CString strPart;
    for (LPCSTR p = strEntry; *p != '\0'; p = CharNextA(p)) {
        if (*p == '\\' || *p == '/') {
            parts.Add(strPart);
            strPart.Empty();
        } else {
            strPart += CString(p, (int)(CharNextA(p) - p));
        }
    }
    parts.Add(strPart);
    for (int i = 0; i < parts.GetSize(); ++i)
        if (parts[i].IsEmpty() || parts[i] == "." || parts[i] == ".." || parts[i].Find(':') >= 0) return FALSE;
    return TRUE;
}

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

// A folder below the temporary directory holding the copy at the entry's
// path, so that adding the folder's content stores exactly that path. It
// and all it holds go with the object.
class CStagedEntry {
public:
    CStagedEntry(LPCSTR lpszCopy, const CString& strEntry) {
        CStringArray parts;
        if (!SplitEntryPath(strEntry, parts)) return;
        m_strRoot = MakeCopyDirectory(TempDirectory());
        if (m_strRoot.IsEmpty()) return;
        CString strPath = m_strRoot;
        for (int i = 0; i + 1 < parts.GetSize(); ++i) {
            strPath += parts[i];
            if (!CreateDirectoryA(strPath, NULL)) return;
            m_made.Add(strPath);
            strPath += "\\";
        }
        strPath += parts[parts.GetSize() - 1];
        // The copy's write time goes along: the library replaces an entry
        // only with a newer file.
        if (CopyFileA(lpszCopy, strPath, TRUE)) m_strFile = strPath;
    }
    ~CStagedEntry() {
        if (!m_strFile.IsEmpty()) DeleteFileA(m_strFile);
        for (int i = m_made.GetSize(); i-- > 0;) RemoveDirectoryA(m_made[i]);
        if (!m_strRoot.IsEmpty()) RemoveDirectoryA(WithoutTrailingBackslash(m_strRoot));
    }
    BOOL IsReady() const { return !m_strFile.IsEmpty(); }
    const CString& Root() const { return m_strRoot; }

private:
    CString m_strRoot;     // ends in a backslash
    CStringArray m_made;   // folders below it, outermost first
    CString m_strFile;
};

}  // namespace

BOOL CTempCopies::PutBack(const Copy& copy) {
    CStagedEntry staged(copy.strPath, copy.strEntry);
    if (!staged.IsReady()) return FALSE;
    FileState before(copy.strArchive);
    CLha archive(copy.strArchive);
    archive.AddDirectory(staged.Root(), FALSE, FALSE);
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
