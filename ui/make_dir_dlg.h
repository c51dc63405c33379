// CMakeDirDlg: asks for the path of a new directory and creates it. OK with an
// empty name does nothing; a failure is reported and the dialog stays open.
#pragma once

#include "framework/dialog.h"

class CMakeDirDlg : public CDialog {
public:
    explicit CMakeDirDlg(CWnd* pParent = NULL);

    CString m_strName;  // the directory to create; the caller presets it

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
};
