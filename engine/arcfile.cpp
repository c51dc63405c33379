// The archive object's common behaviour: status, size and the listing loop.
#include "engine/arcfile.h"

IMPLEMENT_DYNAMIC(CArcfile, CObject)

CArcfile::CArcfile(LPCSTR pszArchive)
    : m_nStatus(ARC_ENTRY),
      m_nSpare(0),
      m_dwArchiveSize(0),
      m_hFile(HFILE_ERROR),
      m_strArchive(pszArchive),
      m_pOutput(new char[ARC_OUTPUT_SIZE]) {
    m_pOutput[0] = '\0';
}

// Releases the output buffer only: the owner ends a listing with Close first.
CArcfile::~CArcfile() { delete[] m_pOutput; }

int CArcfile::FindNext(CArcfileItem*) { return ARC_ENTRY; }

BOOL CArcfile::IsReady() { return TRUE; }

int CArcfile::GetStatus() { return m_nStatus; }

DWORD CArcfile::GetArchiveSize() {
    if (m_dwArchiveSize != 0) return m_dwArchiveSize;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!m_strArchive.IsEmpty() && GetFileAttributesExA(m_strArchive, GetFileExInfoStandard, &data))
        return data.nFileSizeLow;
    return 0;
}

int CArcfile::Open(CArcfileItem*) { return ARC_ENTRY; }

int CArcfile::GetNext(CArcfileItem* pItem) {
    int status;
    do {
        status = FindNext(pItem);
    } while (status == ARC_SKIP);
    m_nStatus = status;
    if (status != ARC_ENTRY && m_hFile != HFILE_ERROR) {
        _lclose(m_hFile);
        m_hFile = HFILE_ERROR;
    }
    return status;
}

void CArcfile::Close() {}

BOOL CArcfile::CheckArchive() { return FALSE; }
