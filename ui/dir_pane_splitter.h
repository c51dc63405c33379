// CDirPaneSplitter: the main window's splitter (tree left, file list right).
// It remembers the tree pane's width: a finished drag that leaves a new,
// positive width is written to the profile.
#pragma once

#include "framework/splitter_wnd.h"

class CDirPaneSplitter : public CSplitterWnd {
public:
    CDirPaneSplitter() : m_nDirPaneWidth(0) {}

    void StopTracking(BOOL bAccept) override;

    int m_nDirPaneWidth;  // as last read from or written to the profile
};
