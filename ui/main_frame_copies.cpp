// CMainFrame: offering copies changed in their programs back into the archive
// when the user comes back to the program.
#include "app/zuvo_app.h"
#include "res/resource.h"
#include "ui/main_frame.h"

// Not asked inside the activation itself: a box shown while the system is
// still switching windows would be activated in the middle of that.
LRESULT CMainFrame::OnActivateApp(WPARAM wParam, LPARAM) {
    if (wParam) PostMessage(WM_OFFER_CHANGED_COPIES, 0, 0);
    return 0;
}

// Nothing of the frame is used afterwards: it may be gone once the boxes close.
LRESULT CMainFrame::OnOfferChangedCopies(WPARAM, LPARAM) {
    ZuvoApp()->OfferChangedCopies();
    return 0;
}
