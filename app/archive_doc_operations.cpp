// CArchiveDoc: the operations on the archive, each one call into the library,
// and the listing afresh that follows every change.
#include "app/archive_doc.h"

#include "app/zuvo_app.h"
#include "framework/path_parts.h"

BOOL CArchiveDoc::CallLibrary(const std::function<BOOL(CArcfile&)>& call, LPCSTR lpszChanged,
                              BOOL bEvenOnFailure) {
    std::shared_ptr<CArcfile> pArchive = m_pArchive;
    if (pArchive == nullptr) return FALSE;
    ++m_nCallsRunning;
    BOOL bDone = call(*pArchive);
    --m_nCallsRunning;
    // A change made by a call nested in this one is listed with it, once.
    if (lpszChanged != NULL && (bDone || bEvenOnFailure)) m_strChangedPath = lpszChanged;
    if (m_nCallsRunning == 0 && !m_strChangedPath.IsEmpty()) {
        CString strPath = m_strChangedPath;
        m_strChangedPath.Empty();
        ShowAfresh(strPath);
    }
    if (m_nCallsRunning == 0 && m_hCloseWaiting != NULL) {
        ::PostMessageA(m_hCloseWaiting, WM_CLOSE, 0, 0);
        m_hCloseWaiting = NULL;
    }
    return bDone;
}

// Shown as the framework opens any file (the list takes the focus, the title
// and the recent files follow it, a self-extractor included). An archive the
// library has not created yet is listed in place instead: it keeps its name,
// where the open would report it missing and leave an untitled window.
// The same archive listed again keeps the folder shown, or the nearest one
// above it that is left; a plain re-read keeps the list's row too, where a
// change shows its folder from the first row.
void CArchiveDoc::ShowAfresh(const CString& strPath, BOOL bKeepRow) {
    BOOL bSameArchive = !GetPathName().IsEmpty() && strPath.CompareNoCase(GetPathName()) == 0;
    CString strDir = m_strCurrentDir;
    if (bSameArchive && bKeepRow) UpdateAllViews(NULL, kHintKeepPlace);
    if (GetFileAttributesA(strPath) == INVALID_FILE_ATTRIBUTES)
        Load(strPath);
    else
        ZuvoApp()->Reopen(strPath);
    if (!bSameArchive) return;
    while (!strDir.IsEmpty() && !HoldsFolder(strDir)) {
        strDir = WithoutTrailingBackslash(strDir);
        strDir = strDir.Left(LastComponentStart(strDir));
    }
    SetCurrentDir(strDir);
}

void CArchiveDoc::Reread() {
    // Inside a library call the listing waits for it, as a change's does.
    if (m_nCallsRunning > 0)
        m_strChangedPath = GetPathName();
    else
        ShowAfresh(GetPathName(), TRUE);
}

BOOL CArchiveDoc::ExtractEntries(const CStringArray& fullPaths, LPCSTR lpszDestDir, BOOL bWithDirs) {
    return CallLibrary([&](CArcfile& a) { return a.ExtractFiles(fullPaths, lpszDestDir, bWithDirs); }, NULL);
}

BOOL CArchiveDoc::ExtractFolder(LPCSTR lpszFolder, LPCSTR lpszDestDir) {
    return CallLibrary([&](CArcfile& a) { return a.ExtractDirectory(lpszFolder, lpszDestDir); }, NULL);
}

BOOL CArchiveDoc::GetListing(CString& strText) {
    return CallLibrary([&](CArcfile& a) { return a.List(strText); }, NULL);
}

void CArchiveDoc::DeleteEntries(const CStringArray& fullPaths) {
    CallLibrary([&](CArcfile& a) { return a.Delete(fullPaths); }, GetPathName());
}

void CArchiveDoc::RenameEntry(LPCSTR lpszFullPath) {
    CallLibrary([&](CArcfile& a) { return a.Rename(lpszFullPath); }, GetPathName());
}

void CArchiveDoc::AddFiles(const CStringArray& paths) {
    CallLibrary([&](CArcfile& a) { return a.AddFiles(paths, FALSE, m_strCurrentDir); }, GetPathName());
}

void CArchiveDoc::AddFolder(LPCSTR lpszDir, BOOL bWithDirs, BOOL bDeleteAfter) {
    CallLibrary([&](CArcfile& a) { return a.AddDirectory(lpszDir, bWithDirs, bDeleteAfter, m_strCurrentDir); },
                GetPathName());
}

BOOL CArchiveDoc::MakeSelfExtractor(int nType, BOOL bReplace) {
    // Only a program that was made is opened.
    CString strProgram = ReplaceExtension(GetPathName(), ".exe");
    return CallLibrary([&](CArcfile& a) { return a.MakeSFX(nType, bReplace); }, strProgram, FALSE);
}
