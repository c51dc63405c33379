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

// The same archive is listed again in place: it keeps its name even when the
// library could not create it yet. Another file (the self-extractor) is opened
// as the document, so that the title and the recent files follow it.
void CArchiveDoc::ShowAfresh(const CString& strPath) {
    if (strPath == GetPathName())
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
