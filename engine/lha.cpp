// CLha: listing an archive, and the gate that every command line passes. Each
// operation loads the library once; a listing holds it from Open to Close.
#include "engine/lha.h"

#include "res/resource.h"

IMPLEMENT_DYNAMIC(CLha, CArcfile)

CLha::CLha(LPCSTR pszArchive) : CArcfile(pszArchive), m_hArc(NULL) {}

CLha::~CLha() { Close(); }

int CLha::Open(CArcfileItem* pItem) {
    m_pLibrary.reset(new CUnlhaLibrary);
    const CUnlhaLibrary& lib = *m_pLibrary;
    if (!lib.IsLoadedOrSay()) return m_nStatus = ARC_NOT_OPENED;
    // A library without the listing entry points cannot open anything.
    if (!lib.GetRunning || !lib.FindFirst || !lib.OpenArchive) return m_nStatus = ARC_NOT_OPENED;

    if (lib.IsBusy()) return m_nStatus = ARC_BUSY;

    m_hArc = lib.OpenArchive(AfxGetMainWndHandle(), m_strArchive, UNLHA_OPEN_MODE);
    if (!m_hArc) return m_nStatus = ARC_NOT_OPENED;

    UNLHA_ENTRY_RECORD record;
    if (lib.FindFirst(m_hArc, "*.*", &record) == UNLHA_NO_ENTRY) return m_nStatus = ARC_EMPTY;

    SetItem(pItem, &record);
    return m_nStatus = ARC_ENTRY;
}

int CLha::FindNext(CArcfileItem* pItem) {
    UNLHA_ENTRY_RECORD record;
    if (!m_pLibrary || !m_pLibrary->FindNext || m_pLibrary->FindNext(m_hArc, &record) == UNLHA_NO_ENTRY)
        return m_nStatus = ARC_END;
    SetItem(pItem, &record);
    return ARC_ENTRY;
}

void CLha::Close() {
    if (m_pLibrary && m_pLibrary->CloseArchive && m_hArc) m_pLibrary->CloseArchive(m_hArc);
    m_pLibrary.reset();
    m_hArc = NULL;
}

BOOL CLha::CheckArchive() {
    CUnlhaLibrary lib;
    if (!lib.IsLoadedOrSay() || !lib.CheckArchive) return FALSE;
    return lib.CheckArchive(m_strArchive, 0);
}

BOOL CLha::Execute(LPCSTR pszCommandLine) {
    CUnlhaLibrary lib;
    if (!lib.IsLoadedOrSay()) return FALSE;
    // A library that lacks any of them cannot run commands; it says nothing.
    if (!lib.Command || !lib.GetRunning || !lib.SetCursorMode || !lib.GetVersion) return FALSE;
    if (LOWORD(lib.GetVersion()) < UNLHA_MIN_VERSION) {
        AfxMessageBox(IDS_UNLHA32_VERSION_ERROR, MB_OK);
        return FALSE;
    }
    if (lib.IsBusy()) return FALSE;
    lib.SetCursorMode(1);
    // One byte of the buffer stays spare.
    return lib.Command(AfxGetMainWndHandle(), pszCommandLine, m_pOutput, ARC_OUTPUT_SIZE - 1) == 0;
}

void CLha::ConfigDialog(int nWhich) {
    CUnlhaLibrary lib;
    if (!lib.IsLoadedOrSay() || !lib.ConfigDialog) return;
    char scratch[1000] = "";
    lib.ConfigDialog(AfxGetMainWndHandle(), scratch, nWhich == 0 ? 1 : 2);
}
