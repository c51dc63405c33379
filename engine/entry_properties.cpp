// An entry's stored facts: its own listing of the archive, found by the full
// path the file list addresses it by, so the document's listing stays as it is.
#include "engine/entry_properties.h"

#include <string.h>

#include "engine/lha.h"
#include "res/resource.h"

namespace {

struct OSName {
    int nId;
    const char* pszName;
};

// The system ids LZH archivers write into their headers.
const OSName kOSNames[] = {
    {'M', "MS-DOS"},    {'2', "OS/2"},        {'9', "OS-9"},       {'K', "OS/68K"},
    {'3', "OS/386"},    {'H', "Human68K"},    {'U', "UNIX"},       {'C', "CP/M"},
    {'F', "FLEX"},      {'m', "Macintosh"},   {'R', "Runser"},     {'T', "TownsOS"},
    {'X', "XOSK"},      {'w', "Windows 95"},  {'W', "Windows NT"}, {'J', "Java"},
    {'a', "Amiga"},     {'A', "Atari"},
};

void FillFacts(const CUnlhaLibrary& lib, HARC hArc, const UNLHA_ENTRY_RECORD& record, CEntryProperties* pProps) {
    pProps->strMethod = CString(record.szMode, (int)strnlen(record.szMode, sizeof record.szMode));
    pProps->strAttributes = CString(record.szAttribute, (int)strnlen(record.szAttribute, sizeof record.szAttribute));
    pProps->dwCrc = record.dwCrc;
    pProps->nHeaderLevel = lib.GetHeaderLevel ? lib.GetHeaderLevel(hArc) : -1;
    pProps->nOSId = lib.GetOSId ? lib.GetOSId(hArc) : -1;
    pProps->strExactName.clear();
    int nLength = lib.GetExactName ? lib.GetExactName(hArc, NULL, 0) : 0;
    if (nLength > 0) {
        std::wstring exact(nLength + 1, L'\0');
        if (lib.GetExactName(hArc, &exact[0], (DWORD)exact.size()) == nLength) {
            exact.resize(nLength);
            pProps->strExactName = exact;
        }
    }
}

}  // namespace

CString OSNameOf(int nOSId) {
    CString text;
    if (nOSId == 0 && text.LoadString(IDS_OS_GENERIC)) return text;
    for (const OSName& known : kOSNames)
        if (known.nId == nOSId) return known.pszName;
    if (nOSId > 0x20 && nOSId < 0x7F)
        text.Format("'%c'", nOSId);
    else
        text.Format("0x%02X", nOSId & 0xFF);
    return text;
}

CString FullDateTimeText(const CArcfileItem& item) {
    struct tm tm;
    DosDateTimeToTm(item.m_dwDosDateTime, &tm);
    CString text;
    text.Format("%04d/%02d/%02d %02d:%02d:%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
                tm.tm_min, item.m_nSecond);
    return text;
}

BOOL CLha::GetProperties(LPCSTR pszFullPath, CEntryProperties* pProps) {
    // A listing of its own: this object's may be in use.
    CLha lister(m_strArchive);
    lister.m_pLibrary.reset(new CUnlhaLibrary);
    const CUnlhaLibrary& lib = *lister.m_pLibrary;
    if (!lib.IsLoadedOrSay()) return FALSE;
    if (!lib.GetRunning || !lib.OpenArchive || !lib.FindFirst || !lib.FindNext) return FALSE;
    if (lib.IsBusy()) {
        AfxMessageBox(IDS_LIBRARY_BUSY, MB_OK);
        return FALSE;
    }
    // The user heard of any damage when the archive was opened.
    lister.m_hArc = lib.OpenArchive(AfxGetMainWndHandle(), m_strArchive, UNLHA_OPEN_MODE | UNLHA_OPEN_NO_DAMAGE_BOX);
    if (!lister.m_hArc) {
        AfxMessageBox(IDS_ENTRY_NOT_FOUND, MB_OK);
        return FALSE;
    }
    UNLHA_ENTRY_RECORD record;
    for (int found = lib.FindFirst(lister.m_hArc, "*.*", &record); found != UNLHA_NO_ENTRY;
         found = lib.FindNext(lister.m_hArc, &record)) {
        lister.SetItem(&pProps->item, &record);
        if (record.uFlag == 0 && pProps->item.GetFullPath() == pszFullPath) {
            FillFacts(lib, lister.m_hArc, record, pProps);
            return TRUE;
        }
    }
    AfxMessageBox(IDS_ENTRY_NOT_FOUND, MB_OK);
    return FALSE;
}
