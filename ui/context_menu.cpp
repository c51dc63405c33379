#include "ui/context_menu.h"

#include "framework/afx_state.h"
#include "framework/frame_wnd.h"
#include "framework/view.h"
#include "res/resource.h"

void TrackContextMenu(CView* pPane, int nMenu, POINT ptScreen) {
    CFrameWnd* pFrame = pPane->GetParentFrame();
    if (pFrame == NULL) return;
    pFrame->SetActiveView(pPane);
    HMENU hMenus = LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_CONTEXT_MENUS));
    if (hMenus == NULL) return;
    HMENU hPopup = GetSubMenu(hMenus, nMenu);
    if (hPopup != NULL)
        TrackPopupMenu(hPopup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, ptScreen.x, ptScreen.y, 0,
                       pFrame->m_hWnd, NULL);
    DestroyMenu(hMenus);
}

POINT KeyboardMenuPoint(HWND hControl, const RECT& rcItem) {
    RECT rcClient;
    ::GetClientRect(hControl, &rcClient);
    POINT pt = {rcItem.left, rcItem.bottom};
    if (pt.x < rcClient.left || pt.x >= rcClient.right) pt.x = rcClient.left;
    if (pt.y < rcClient.top || pt.y >= rcClient.bottom) pt.y = rcClient.top;
    ::ClientToScreen(hControl, &pt);
    return pt;
}
