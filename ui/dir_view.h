// CDirView: the left pane, the archive's directories as a tree.
#pragma once

#include "framework/view.h"

class CDirView : public CView {
    DECLARE_DYNCREATE(CDirView)
public:
    CDirView() {}
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override {}
};
