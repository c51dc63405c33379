// CSfxTypeDlg: the kind of self-extracting archive to make.
#pragma once

#include "framework/dialog.h"

class CSfxTypeDlg : public CDialog {
public:
    explicit CSfxTypeDlg(CWnd* pParent = NULL);

    // The checked button of the group: 0 DOS, 1 WinSFX, 2 WinSFX32; -1 none.
    int m_nType;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
