// CPropertiesDlg: one entry's stored facts, each in a read-only field.
#pragma once

#include "engine/entry_properties.h"
#include "framework/dialog.h"

class CPropertiesDlg : public CDialog {
public:
    CPropertiesDlg(const CEntryProperties& props, CWnd* pParent = NULL);

    BOOL OnInitDialog() override;

private:
    // The name field as a Unicode edit: an ANSI one would show the
    // characters code page 932 lacks as look-alikes.
    void ShowExactName();
    void SetField(int nID, const CString& text);

    const CEntryProperties& m_props;
};
