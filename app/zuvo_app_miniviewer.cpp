// The application's one MiniViewer window.
#include "app/zuvo_app.h"
#include "res/resource.h"
#include "ui/mini_view_frame.h"

CMiniViewFrame* CZuvoApp::GetMiniViewer() {
    if (m_pMiniViewer != NULL) return m_pMiniViewer;
    CMiniViewFrame* pFrame = new CMiniViewFrame;
    m_pMiniViewer = pFrame;
    // A frame whose window could not be made deletes itself, and its
    // destruction clears m_pMiniViewer; one that never got a window is left.
    if (!pFrame->LoadFrame(IDR_MINIVIEWER, WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX,
                           NULL, NULL) &&
        m_pMiniViewer != NULL) {
        m_pMiniViewer = NULL;
        delete pFrame;
    }
    return m_pMiniViewer;
}
