// Filling an archive entry from the library's entry record.
#include "engine/lha.h"

#include <string.h>

void DosDateTimeToTm(DWORD dwDosDateTime, struct tm* pTm) {
    memset(pTm, 0, sizeof(*pTm));
    pTm->tm_sec = (dwDosDateTime & 31) * 2;
    pTm->tm_min = (dwDosDateTime >> 5) & 63;
    pTm->tm_hour = (dwDosDateTime >> 11) & 31;
    pTm->tm_mday = (dwDosDateTime >> 16) & 31;
    pTm->tm_mon = (int)((dwDosDateTime >> 21) & 15) - 1;
    pTm->tm_year = (int)((dwDosDateTime >> 25) & 127) + 80;
    pTm->tm_isdst = 0;
}

// A size field of 0xFFFFFFFF stands for "4 GiB or more": the whole size
// then comes from the library's 64-bit queries, where it has them.
void CLha::SetSizes(CArcfileItem* pItem, const UNLHA_ENTRY_RECORD* pRecord) {
    ULONGLONG compressed = pRecord->dwCompressedSize, original = pRecord->dwOriginalSize;
    if ((compressed == 0xFFFFFFFF || original == 0xFFFFFFFF) && m_pLibrary && m_hArc) {
        ULONGLONG whole;
        const CUnlhaLibrary& lib = *m_pLibrary;
        if (lib.GetCompressedSizeEx && lib.GetCompressedSizeEx(m_hArc, &whole)) compressed = whole;
        if (lib.GetOriginalSizeEx && lib.GetOriginalSizeEx(m_hArc, &whole)) original = whole;
    }
    pItem->m_dwCompressedSize = (DWORD)compressed;
    pItem->m_dwCompressedSizeHigh = (DWORD)(compressed >> 32);
    pItem->m_dwOriginalSize = (DWORD)original;
    pItem->m_dwOriginalSizeHigh = (DWORD)(original >> 32);
}

// The record's MS-DOS time keeps even seconds only; where the library has the
// exact time of the same minute, its second is shown instead.
void CLha::SetTime(CArcfileItem* pItem, const UNLHA_ENTRY_RECORD* pRecord) {
    DWORD dwPacked = ((DWORD)pRecord->wDate << 16) | pRecord->wTime;
    struct tm tm;
    DosDateTimeToTm(dwPacked, &tm);
    auto writeTimeEx = m_pLibrary && m_hArc ? m_pLibrary->GetWriteTimeEx : NULL;
    FILETIME utc, local;
    WORD wDate, wTime;
    SYSTEMTIME exact;
    if (writeTimeEx && writeTimeEx(m_hArc, &utc) && FileTimeToLocalFileTime(&utc, &local) &&
        FileTimeToDosDateTime(&local, &wDate, &wTime) && ((((DWORD)wDate << 16) | wTime) >> 5) == (dwPacked >> 5) &&
        FileTimeToSystemTime(&local, &exact))
        tm.tm_sec = exact.wSecond;
    pItem->m_dwDosDateTime = dwPacked;
    pItem->m_nSecond = tm.tm_sec;
    pItem->m_strDate.Format("%02d/%02d/%02d", tm.tm_year % 100, tm.tm_mon + 1, tm.tm_mday);
    pItem->m_strTime.Format("%02d:%02d:%02d", tm.tm_hour, tm.tm_min, tm.tm_sec);
}

void CLha::SetItem(CArcfileItem* pItem, UNLHA_ENTRY_RECORD* pRecord) {
    SetSizes(pItem, pRecord);
    SetTime(pItem, pRecord);

    // The name ends at its zero byte, or at the end of the record if the
    // library left none.
    const char* pszName = reinterpret_cast<const char*>(pRecord) + offsetof(UNLHA_ENTRY_RECORD, szFileName);
    const size_t nRoom = sizeof(UNLHA_ENTRY_RECORD) - offsetof(UNLHA_ENTRY_RECORD, szFileName);
    CString name(pszName, (int)strnlen(pszName, nRoom));
    name.Replace('/', '\\');

    int slash = name.ReverseFind('\\');
    if (slash < 0) {
        pItem->m_strPath.Empty();
        pItem->m_strName = name;
    } else {
        pItem->m_strPath = name.Left(slash + 1);
        pItem->m_strName = name.Mid(slash + 1);
    }
}
