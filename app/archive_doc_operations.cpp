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
    return bDone;
}

// Shown as the framework opens any file (the list takes the focus, the title
// and the recent files follow it, a self-extractor included). An archive the
// library has not created yet is listed in place instead: it keeps its name,
// where the open would report it missing and leave an untitled window.
void CArchiveDoc::ShowAfresh(const CString& strPath) {
    if (GetFileAttributesA(strPath) == INVALID_FILE_ATTRIBUTES)
        Load(strPath);
    else
        ZuvoApp()->Reopen(strPath);
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
    CallLibrary([&](CArcfile& a) { return a.AddFiles(paths, FALSE); }, GetPathName());
}

void CArchiveDoc::AddFolder(LPCSTR lpszDir, BOOL bWithDirs, BOOL bDeleteAfter) {
    CallLibrary([&](CArcfile& a) { return a.AddDirectory(lpszDir, bWithDirs, bDeleteAfter); }, GetPathName());
}

BOOL CArchiveDoc::MakeSelfExtractor(int nType, BOOL bReplace) {
    // Only a program that was made is opened.
    CString strProgram = ReplaceExtension(GetPathName(), ".exe");
    return CallLibrary([&](CArcfile& a) { return a.MakeSFX(nType, bReplace); }, strProgram, FALSE);
}
