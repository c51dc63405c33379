// CFileView: the right pane, the entries of the chosen directory as a list.
#pragma once

#include "framework/view.h"

class CFileView : public CView {
    DECLARE_DYNCREATE(CFileView)
public:
    CFileView() {}
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override {}
};
