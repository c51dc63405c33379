// Temporary-copy records.
#include "engine/temp_file_set.h"

IMPLEMENT_DYNAMIC(CTempFileSet, CObject)

namespace {

// FALSE when the file is not there.
BOOL FileStamp(LPCSTR pszPath, ULONGLONG* pSize, FILETIME* pWritten) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(pszPath, GetFileExInfoStandard, &data)) return FALSE;
    *pSize = ((ULONGLONG)data.nFileSizeHigh << 32) | data.nFileSizeLow;
    *pWritten = data.ftLastWriteTime;
    return TRUE;
}

}  // namespace

CTempFileSet::CTempFileSet(HINSTANCE hInstance, LPCSTR pszTempPath)
    : m_strTempPath(pszTempPath), m_hInstance(hInstance), m_ullSize(0), m_ftWritten() {
    m_bStamped = FileStamp(pszTempPath, &m_ullSize, &m_ftWritten);
}

CTempFileSet::~CTempFileSet() {}

BOOL CTempFileSet::IsAsRecorded() const {
    ULONGLONG ullSize;
    FILETIME ftWritten;
    if (!m_bStamped || !FileStamp(m_strTempPath, &ullSize, &ftWritten)) return TRUE;
    return ullSize == m_ullSize && CompareFileTime(&ftWritten, &m_ftWritten) == 0;
}
