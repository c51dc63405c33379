// CFontDialog: the common font dialog, started from a logical font. Callers may
// change m_cf before DoModal (flags, owner).
#pragma once

#include <windows.h>
#include <commdlg.h>

#include "framework/object.h"

class CWnd;

class CFontDialog : public CObject {
public:
    // lplfInitial may be NULL; the dialog then starts with no font chosen.
    explicit CFontDialog(const LOGFONTA* lplfInitial = NULL,
                         DWORD dwFlags = CF_EFFECTS | CF_SCREENFONTS, HDC hdcPrinter = NULL,
                         CWnd* pParentWnd = NULL);

    // IDOK or IDCANCEL. The box is owned by the parent window, else by the
    // main window.
    virtual INT_PTR DoModal();

    // The chosen font (valid after IDOK).
    void GetCurrentFont(LOGFONTA* lplf) const { *lplf = m_lf; }

    CHOOSEFONTA m_cf;
    LOGFONTA m_lf;
};
