#include "framework/cmd_target.h"

#include "framework/cmd_ui.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* PASCAL CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP_ENTRY* CCmdTarget::FindEntry(const AFX_MSGMAP* pMap, UINT nMessage, UINT nCode,
                                              UINT nID) {
    for (; pMap != nullptr; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = pMap->lpEntries; e->pfn != nullptr; ++e) {
            if (e->nMessage == nMessage && e->nCode == nCode && nID >= e->nID && nID <= e->nLastID)
                return e;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    UINT nMsg = WM_COMMAND;
    UINT nPlainCode = (UINT)nCode;
    if ((UINT)nCode != CN_UPDATE_COMMAND_UI && HIWORD(nCode) != 0) {
        nMsg = HIWORD(nCode);
        nPlainCode = LOWORD(nCode);
    }
    const AFX_MSGMAP_ENTRY* e = FindEntry(GetMessageMap(), nMsg, nPlainCode, nID);
    if (e == nullptr) return FALSE;
    if (pHandlerInfo != nullptr) {
        pHandlerInfo->pTarget = this;
        return TRUE;
    }
    if (nMsg == WM_NOTIFY) {
        AFX_NOTIFY* pNotify = static_cast<AFX_NOTIFY*>(pExtra);
        return (BOOL)e->pfn(this, nID, 0, (LPARAM)pNotify->pNMHDR, pNotify->pResult);
    }
    if ((UINT)nCode == CN_UPDATE_COMMAND_UI) {
        CCmdUI* pCmdUI = static_cast<CCmdUI*>(pExtra);
        pCmdUI->m_bContinueRouting = FALSE;
        e->pfn(this, nID, 0, 0, pCmdUI);
        return !pCmdUI->m_bContinueRouting;
    }
    return (BOOL)e->pfn(this, nID, 0, 0, pExtra);
}

void CCmdTarget::BeginWaitCursor() { SetCursor(LoadCursor(NULL, IDC_WAIT)); }
void CCmdTarget::EndWaitCursor() { SetCursor(LoadCursor(NULL, IDC_ARROW)); }
