// CLha: loading the archiver library, listing an archive, and the gate that
// every command line passes.
#include "engine/lha.h"

#include "res/resource.h"

IMPLEMENT_DYNAMIC(CLha, CArcfile)

CLha::CLha(LPCSTR pszArchive) : CArcfile(pszArchive), m_hArc(NULL), m_hDll(NULL) {}

// Neither closes the archive nor frees the library: Close does.
CLha::~CLha() {}

HMODULE CLha::LoadUnlha() {
    UINT oldMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
    HMODULE hDll = LoadLibraryA(UNLHA_DLL_NAME);
    SetErrorMode(oldMode);
    return hDll;
}

int CLha::Open(CArcfileItem* pItem) {
    m_hDll = LoadUnlha();
    if (!m_hDll) {
        AfxMessageBox(IDS_NO_UNLHA32, MB_OK);
        return m_nStatus = ARC_NOT_OPENED;
    }
    auto getRunning = UnlhaProc<PFN_UNLHA_GET_RUNNING>(m_hDll, "UnlhaGetRunning");
    auto findFirst = UnlhaProc<PFN_UNLHA_FIND_FIRST>(m_hDll, "UnlhaFindFirst");
    auto openArchive = UnlhaProc<PFN_UNLHA_OPEN_ARCHIVE>(m_hDll, "UnlhaOpenArchive");
    // A library without the listing entry points cannot open anything.
    if (!getRunning || !findFirst || !openArchive) return m_nStatus = ARC_NOT_OPENED;

    if (getRunning()) return m_nStatus = ARC_BUSY;

    m_hArc = openArchive(AfxGetMainWndHandle(), m_strArchive, UNLHA_OPEN_MODE);
    if (!m_hArc) return m_nStatus = ARC_NOT_OPENED;

    UNLHA_ENTRY_RECORD record;
    if (findFirst(m_hArc, "*.*", &record) == UNLHA_NO_ENTRY) return m_nStatus = ARC_EMPTY;

    SetItem(pItem, &record);
    return m_nStatus = ARC_ENTRY;
}

int CLha::FindNext(CArcfileItem* pItem) {
    auto findNext = UnlhaProc<PFN_UNLHA_FIND_NEXT>(m_hDll, "UnlhaFindNext");
    UNLHA_ENTRY_RECORD record;
    if (!findNext || findNext(m_hArc, &record) == UNLHA_NO_ENTRY) return m_nStatus = ARC_END;
    SetItem(pItem, &record);
    return ARC_ENTRY;
}

void CLha::Close() {
    if (m_hDll) {
        auto closeArchive = UnlhaProc<PFN_UNLHA_CLOSE_ARCHIVE>(m_hDll, "UnlhaCloseArchive");
        if (closeArchive && m_hArc) closeArchive(m_hArc);
        FreeLibrary(m_hDll);
    }
    m_hDll = NULL;
    m_hArc = NULL;
}

BOOL CLha::CheckArchive() {
    HMODULE hDll = LoadUnlha();
    if (!hDll) {
        AfxMessageBox(IDS_NO_UNLHA32, MB_OK);
        return FALSE;
    }
    auto checkArchive = UnlhaProc<PFN_UNLHA_CHECK_ARCHIVE>(hDll, "UnlhaCheckArchive");
    BOOL result = checkArchive ? checkArchive(m_strArchive, 0) : FALSE;
    FreeLibrary(hDll);
    return result;
}

BOOL CLha::Execute(LPCSTR pszCommandLine) {
    HMODULE hDll = LoadUnlha();
    if (!hDll) {
        AfxMessageBox(IDS_NO_UNLHA32, MB_OK);
        return FALSE;
    }
    auto unlha = UnlhaProc<PFN_UNLHA>(hDll, "Unlha");
    auto getRunning = UnlhaProc<PFN_UNLHA_GET_RUNNING>(hDll, "UnlhaGetRunning");
    auto setCursorMode = UnlhaProc<PFN_UNLHA_SET_CURSOR_MODE>(hDll, "UnlhaSetCursorMode");
    auto getVersion = UnlhaProc<PFN_UNLHA_GET_VERSION>(hDll, "UnlhaGetVersion");
    // A library that lacks any of them cannot run commands; it says nothing.
    if (!unlha || !getRunning || !setCursorMode || !getVersion) {
        FreeLibrary(hDll);
        return FALSE;
    }
    if (LOWORD(getVersion()) < UNLHA_MIN_VERSION) {
        AfxMessageBox(IDS_UNLHA32_VERSION_ERROR, MB_OK);
        FreeLibrary(hDll);
        return FALSE;
    }
    if (getRunning() == 1) {
        FreeLibrary(hDll);
        return FALSE;
    }
    setCursorMode(1);
    // One byte of the buffer stays spare.
    int result = unlha(AfxGetMainWndHandle(), pszCommandLine, m_pOutput, ARC_OUTPUT_SIZE - 1);
    FreeLibrary(hDll);
    return result == 0;
}

void CLha::ConfigDialog(int nWhich) {
    HMODULE hDll = LoadUnlha();
    if (!hDll) {
        AfxMessageBox(IDS_NO_UNLHA32, MB_OK);
        return;
    }
    auto configDialog = UnlhaProc<PFN_UNLHA_CONFIG_DIALOG>(hDll, "UnlhaConfigDialog");
    if (configDialog) {
        char scratch[1000] = "";
        configDialog(AfxGetMainWndHandle(), scratch, nWhich == 0 ? 1 : 2);
    }
    FreeLibrary(hDll);
}
