#include "ui/temp_copies.h"

#include "app/archive_doc.h"
#include "app/messages.h"
#include "app/zuvo_app.h"
#include "engine/temp_file_set.h"
#include "framework/path_parts.h"
#include "res/resource.h"

namespace {

// Directories made for copies: "Zuvo<process>.<n>" in the temporary directory.
const char kDirPrefix[] = "Zuvo";

CString LastComponent(const CString& strPath) {
    int nSep = strPath.ReverseFind('\\');
    return nSep >= 0 ? strPath.Mid(nSep + 1) : strPath;
}

}  // namespace

CTempCopies::CTempCopies(CArchiveDoc* pDoc) : m_pDoc(pDoc), m_strTempDir(TempDirectory()) {}

BOOL CTempCopies::CheckDirectory() const {
    if (!m_strTempDir.IsEmpty()) return TRUE;
    ErrorMessage(IDS_NO_TEMP_DIR);
    return FALSE;
}

BOOL CTempCopies::IsTaken(const CString& strPath) const {
    const CObArray& records = ZuvoApp()->m_tempFiles;
    for (int i = 0; i < records.GetSize(); ++i) {
        const CTempFileSet* pSet = static_cast<const CTempFileSet*>(records[i]);
        if (pSet != nullptr && pSet->m_strTempPath.CompareNoCase(strPath) == 0) return TRUE;
    }
    for (int i = 0; i < m_paths.GetSize(); ++i)
        if (m_paths[i].CompareNoCase(strPath) == 0) return TRUE;
    return FALSE;
}

CTempCopies::Directory* CTempCopies::DirectoryFor(const CString& strName) {
    // A directory of this batch that has no copy of the name yet (names
    // differing only in case are the same file).
    for (std::unique_ptr<Directory>& pDir : m_dirs) {
        BOOL bFree = TRUE;
        for (int i = 0; i < pDir->names.GetSize() && bFree; ++i)
            bFree = pDir->names[i].CompareNoCase(strName) != 0;
        if (bFree && !IsTaken(pDir->strDir + strName)) return pDir.get();
    }
    m_dirs.emplace_back(new Directory);
    Directory& dir = *m_dirs.back();
    if (!IsTaken(m_strTempDir + strName)) {
        dir.strDir = m_strTempDir;
    } else {
        for (UINT n = 1;; ++n) {
            CString strDir;
            strDir.Format("%s%s%lx.%u", (LPCSTR)m_strTempDir, kDirPrefix, GetCurrentProcessId(), n);
            if (CreateDirectoryA(strDir, NULL)) {
                dir.strDir = strDir + "\\";
                break;
            }
            if (GetLastError() != ERROR_ALREADY_EXISTS || n == 100000) {
                dir.strDir = m_strTempDir;  // nowhere else to go
                break;
            }
        }
    }
    return &dir;
}

CString CTempCopies::Add(const CArcfileItem* pItem) {
    CString strName = LastComponent(m_pDoc->GetTempFilePath(pItem->m_strName));
    Directory* pDir = DirectoryFor(strName);
    pDir->names.Add(strName);
    pDir->fullPaths.Add(pItem->GetFullPath());
    CString strPath = pDir->strDir + strName;
    m_paths.Add(strPath);
    return strPath;
}

BOOL CTempCopies::Extract() {
    if (!m_pDoc->HasArchive()) return FALSE;
    BOOL bAll = TRUE;
    for (const std::unique_ptr<Directory>& pDir : m_dirs)
        if (pDir->fullPaths.GetSize() > 0 && !m_pDoc->ExtractEntries(pDir->fullPaths, pDir->strDir, FALSE))
            bAll = FALSE;
    return bAll;
}

void CTempCopies::Record() {
    for (int i = 0; i < m_paths.GetSize(); ++i) m_pDoc->AddTempFile(NULL, m_paths[i]);
}

void DeleteTempCopy(LPCSTR lpszPath) {
    DeleteFileA(lpszPath);
    CString strPath(lpszPath);
    int nSep = strPath.ReverseFind('\\');
    if (nSep <= 0) return;
    CString strDir = strPath.Left(nSep);
    // Only a directory made for copies, and only when nothing else is in it
    // (the records name nothing but copies).
    if (LastComponent(strDir).Left((int)sizeof(kDirPrefix) - 1) == kDirPrefix) RemoveDirectoryA(strDir);
}
