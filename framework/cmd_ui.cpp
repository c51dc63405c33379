#include "framework/cmd_ui.h"

#include "framework/cmd_target.h"
#include "framework/control_bars.h"

CCmdUI::CCmdUI()
    : m_nID(0), m_nIndex(0), m_hMenu(NULL), m_pToolBar(nullptr), m_bEnableChanged(FALSE),
      m_bContinueRouting(FALSE) {}

void CCmdUI::Enable(BOOL bOn) {
    if (m_hMenu != NULL) {
        EnableMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    } else if (m_pToolBar != nullptr) {
        // Only a change repaints the button.
        LRESULT state = m_pToolBar->SendMessage(TB_GETSTATE, m_nID);
        if (state != -1 && ((state & TBSTATE_ENABLED) != 0) != (bOn != FALSE))
            m_pToolBar->SendMessage(TB_ENABLEBUTTON, m_nID, MAKELONG(bOn ? TRUE : FALSE, 0));
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck) {
    if (m_hMenu != NULL) {
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_FTYPE | MIIM_STATE;
        GetMenuItemInfoA(m_hMenu, m_nIndex, TRUE, &mii);
        mii.fType &= ~MFT_RADIOCHECK;
        mii.fState = (mii.fState & ~MFS_CHECKED) | (nCheck ? MFS_CHECKED : 0);
        SetMenuItemInfoA(m_hMenu, m_nIndex, TRUE, &mii);
    } else if (m_pToolBar != nullptr) {
        SetToolBarCheck(nCheck != 0);
    }
}

void CCmdUI::SetRadio(BOOL bOn) {
    if (m_hMenu != NULL) {
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_FTYPE | MIIM_STATE;
        GetMenuItemInfoA(m_hMenu, m_nIndex, TRUE, &mii);
        mii.fType |= MFT_RADIOCHECK;
        mii.fState = (mii.fState & ~MFS_CHECKED) | (bOn ? MFS_CHECKED : 0);
        SetMenuItemInfoA(m_hMenu, m_nIndex, TRUE, &mii);
    } else if (m_pToolBar != nullptr) {
        SetToolBarCheck(bOn != FALSE);
    }
}

void CCmdUI::SetToolBarCheck(bool bChecked) {
    LRESULT state = m_pToolBar->SendMessage(TB_GETSTATE, m_nID);
    if (state != -1 && ((state & TBSTATE_CHECKED) != 0) != bChecked)
        m_pToolBar->SendMessage(TB_CHECKBUTTON, m_nID, MAKELONG(bChecked ? TRUE : FALSE, 0));
}

void CCmdUI::SetText(LPCSTR lpszText) {
    if (m_hMenu == NULL) return;
    UINT state = GetMenuState(m_hMenu, m_nIndex, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED | MF_CHECKED);
    ModifyMenuA(m_hMenu, m_nIndex, MF_BYPOSITION | MF_STRING | state, m_nID, lpszText);
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) {
    m_bEnableChanged = FALSE;
    BOOL bResult = pTarget->OnCmdMsg(m_nID, (int)CN_UPDATE_COMMAND_UI, this, nullptr);
    if (bDisableIfNoHandler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info = {nullptr};
        BOOL bHandler = pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info);
        Enable(bHandler);
        bResult = TRUE;
    }
    return bResult;
}
