// CMainFrame: coming back to the program offers the copies changed in their
// programs back into their archives.
#include "app/zuvo_app.h"
#include "ui/main_frame.h"

// Asked once the program is idle: an activation by a click on the caption
// runs the move loop, which would take the mouse from a box shown inside
// it. The posted message wakes the idle loop.
LRESULT CMainFrame::OnActivateApp(WPARAM wParam, LPARAM) {
    if (!wParam) return 0;
    ZuvoApp()->m_bOfferCopiesWhenIdle = TRUE;
    PostMessage(WM_NULL);
    return 0;
}
