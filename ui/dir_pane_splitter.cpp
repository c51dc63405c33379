#include "ui/dir_pane_splitter.h"

#include "settings/remembered_settings.h"

void CDirPaneSplitter::StopTracking(BOOL bAccept) {
    CSplitterWnd::StopTracking(bAccept);
    int cxCur = 0, cxMin = 0;
    GetColumnInfo(0, cxCur, cxMin);
    if (cxCur > 0 && cxCur != m_nDirPaneWidth) {
        m_nDirPaneWidth = cxCur;
        SaveDirPaneWidth(m_nDirPaneWidth);
    }
}
