#include "app/temp_copies.h"

#include "app/archive_doc.h"
#include "app/messages.h"
#include "engine/arcfile.h"
#include "framework/path_parts.h"
#include "res/resource.h"

namespace {

// Directories made for copies: "Zuvo<process>.<n>" in the temporary directory.
const char kDirPrefix[] = "Zuvo";

CString LastComponent(const CString& strPath) { return strPath.Mid(LastComponentStart(strPath)); }

// FALSE when the file is not there.
BOOL FileStamp(LPCSTR pszPath, ULONGLONG* pSize, FILETIME* pWritten) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(pszPath, GetFileExInfoStandard, &data)) return FALSE;
    *pSize = ((ULONGLONG)data.nFileSizeHigh << 32) | data.nFileSizeLow;
    *pWritten = data.ftLastWriteTime;
    return TRUE;
}

}  // namespace

CString MakeCopyDirectory(const CString& strTempDir) {
    for (UINT n = 1; n <= 100000; ++n) {
        CString strDir;
        strDir.Format("%s%s%lx.%u", (LPCSTR)strTempDir, kDirPrefix, GetCurrentProcessId(), n);
        if (CreateDirectoryA(strDir, NULL)) return strDir + "\\";
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    return CString();
}

// ---- one batch

CTempCopies::CBatch::CBatch(CTempCopies& owner) : m_owner(owner), m_strTempDir(TempDirectory()) {}

BOOL CTempCopies::CBatch::CheckDirectory() const {
    if (!m_strTempDir.IsEmpty()) return TRUE;
    ErrorMessage(IDS_NO_TEMP_DIR);
    return FALSE;
}

BOOL CTempCopies::CBatch::IsTaken(const CString& strPath) const {
    return m_owner.IsRecorded(strPath) || IsListed(m_paths, strPath);
}

CTempCopies::CBatch::Directory* CTempCopies::CBatch::DirectoryFor(const CString& strName) {
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
        dir.strDir = MakeCopyDirectory(m_strTempDir);
        if (dir.strDir.IsEmpty()) dir.strDir = m_strTempDir;  // nowhere else to go
    }
    return &dir;
}

CString CTempCopies::CBatch::Add(const CArcfileItem* pItem) {
    // Only the last component: a name can never lead out of the directory.
    CString strName = LastComponent(pItem->m_strName);
    Directory* pDir = DirectoryFor(strName);
    pDir->names.Add(strName);
    pDir->fullPaths.Add(pItem->GetFullPath());
    CString strPath = pDir->strDir + strName;
    m_paths.Add(strPath);
    m_entries.Add(pItem->GetFullPath());
    return strPath;
}

BOOL CTempCopies::CBatch::Extract(CArchiveDoc& doc) {
    if (!doc.HasArchive()) return FALSE;
    m_strArchive = doc.GetArchive()->m_strArchive;
    BOOL bAll = TRUE;
    for (const std::unique_ptr<Directory>& pDir : m_dirs)
        if (pDir->fullPaths.GetSize() > 0 && !doc.ExtractEntries(pDir->fullPaths, pDir->strDir, FALSE))
            bAll = FALSE;
    return bAll;
}

void CTempCopies::CBatch::Record(BOOL bOfferBack) {
    for (int i = 0; i < m_paths.GetSize(); ++i)
        m_owner.Record(m_paths[i], bOfferBack ? (LPCSTR)m_strArchive : NULL, m_entries[i]);
}

// ---- the records

void CTempCopies::Copy::Stamp() { bStamped = FileStamp(strPath, &ullSize, &ftWritten); }

// A copy that was not there when recorded (a failed extraction) has nothing
// of the user's; neither has one that is gone.
BOOL CTempCopies::Copy::IsAsRecorded() const {
    ULONGLONG ullNow;
    FILETIME ftNow;
    if (!bStamped || !FileStamp(strPath, &ullNow, &ftNow)) return TRUE;
    return ullNow == ullSize && CompareFileTime(&ftNow, &ftWritten) == 0;
}

void CTempCopies::Record(LPCSTR lpszPath, LPCSTR lpszArchive, LPCSTR lpszEntry) {
    Copy copy;
    copy.strPath = lpszPath;
    if (lpszArchive != NULL && lpszEntry != NULL) {
        copy.strArchive = lpszArchive;
        copy.strEntry = lpszEntry;
    }
    copy.Stamp();
    m_copies.push_back(copy);
}

void CTempCopies::Discard(LPCSTR lpszPath) {
    DeleteCopy(lpszPath);
    for (size_t i = m_copies.size(); i-- > 0;)
        if (m_copies[i].strPath.CompareNoCase(lpszPath) == 0) m_copies.erase(m_copies.begin() + i);
}

BOOL CTempCopies::IsRecorded(LPCSTR lpszPath) const {
    for (const Copy& copy : m_copies)
        if (copy.strPath.CompareNoCase(lpszPath) == 0) return TRUE;
    return FALSE;
}

void CTempCopies::GetRecordedPaths(CStringArray& paths) const {
    paths.RemoveAll();
    for (const Copy& copy : m_copies) paths.Add(copy.strPath);
}

BOOL CTempCopies::IsListed(const CStringArray& list, const CString& strPath) {
    for (int i = 0; i < list.GetSize(); ++i)
        if (list[i].CompareNoCase(strPath) == 0) return TRUE;
    return FALSE;
}

void CTempCopies::DeleteAll() {
    // A path recorded twice is one file: kept if either record finds it
    // changed, and named once.
    CStringArray kept;
    for (const Copy& copy : m_copies)
        if (!copy.IsAsRecorded() && !IsListed(kept, copy.strPath)) kept.Add(copy.strPath);
    for (const Copy& copy : m_copies)
        if (!IsListed(kept, copy.strPath)) DeleteCopy(copy.strPath);
    CString strList;
    for (int i = 0; i < kept.GetSize(); ++i) strList += kept[i] + "\n";
    m_copies.clear();
    if (!strList.IsEmpty()) InfoMessage(IDS_COPIES_KEPT, (LPCSTR)strList);
}

void CTempCopies::DeleteCopy(LPCSTR lpszPath) {
    DeleteFileA(lpszPath);
    CString strPath(lpszPath);
    int nStart = LastComponentStart(strPath);
    if (nStart <= 1) return;
    CString strDir = strPath.Left(nStart - 1);
    // Only a directory made for copies, and only when nothing else is in it.
    if (LastComponent(strDir).Left((int)sizeof(kDirPrefix) - 1) == kDirPrefix) RemoveDirectoryA(strDir);
}
