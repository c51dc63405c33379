// Loading and resolving the archiver library.
#include "engine/unlha_library.h"

#include "framework/afx.h"
#include "res/resource.h"

namespace {

template <class PFN>
void Resolve(HMODULE hDll, LPCSTR pszName, PFN* pProc) {
    *pProc = hDll ? reinterpret_cast<PFN>(GetProcAddress(hDll, pszName)) : NULL;
}

}  // namespace

CUnlhaLibrary::CUnlhaLibrary() {
    UINT oldMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
    m_hDll = LoadLibraryA(UNLHA_DLL_NAME);
    SetErrorMode(oldMode);
    Resolve(m_hDll, "UnlhaGetVersion", &GetVersion);
    Resolve(m_hDll, "UnlhaGetRunning", &GetRunning);
    Resolve(m_hDll, "UnlhaSetCursorMode", &SetCursorMode);
    Resolve(m_hDll, "Unlha", &Command);
    Resolve(m_hDll, "UnlhaCheckArchive", &CheckArchive);
    Resolve(m_hDll, "UnlhaOpenArchive", &OpenArchive);
    Resolve(m_hDll, "UnlhaFindFirst", &FindFirst);
    Resolve(m_hDll, "UnlhaFindNext", &FindNext);
    Resolve(m_hDll, "UnlhaCloseArchive", &CloseArchive);
    Resolve(m_hDll, "UnlhaGetCompressedSizeEx", &GetCompressedSizeEx);
    Resolve(m_hDll, "UnlhaGetOriginalSizeEx", &GetOriginalSizeEx);
    Resolve(m_hDll, "UnlhaGetWriteTimeEx", &GetWriteTimeEx);
    Resolve(m_hDll, "UnlhaConfigDialog", &ConfigDialog);
    Resolve(m_hDll, "UnlhaGetHeaderLevel", &GetHeaderLevel);
    Resolve(m_hDll, "UnlhaGetOSId", &GetOSId);
    Resolve(m_hDll, "UnlhaGetExactName", &GetExactName);
}

CUnlhaLibrary::~CUnlhaLibrary() {
    if (m_hDll) FreeLibrary(m_hDll);
}

BOOL CUnlhaLibrary::IsLoadedOrSay() const {
    if (!m_hDll) AfxMessageBox(IDS_NO_UNLHA32, MB_OK);
    return m_hDll != NULL;
}
