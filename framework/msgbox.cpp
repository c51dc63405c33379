// AfxMessageBox by text and by string resource.
#include "framework/msgbox.h"

#include "framework/afx_state.h"
#include "framework/cstring.h"

int AfxMessageBox(LPCSTR lpszText, UINT nType, UINT nIDHelp) {
    (void)nIDHelp;  // no help file
    HWND hOwner = AfxGetMainWndHandle();
    if (hOwner) hOwner = GetLastActivePopup(hOwner);
    if ((nType & MB_ICONMASK) == 0) {
        // As the framework always did: a plain box gets an icon by its buttons.
        UINT buttons = nType & MB_TYPEMASK;
        if (buttons == MB_OK || buttons == MB_OKCANCEL)
            nType |= MB_ICONEXCLAMATION;
        else if (buttons == MB_YESNO || buttons == MB_YESNOCANCEL)
            nType |= MB_ICONQUESTION;
    }
    return MessageBoxA(hOwner, lpszText, AfxGetAppName(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    CString text;
    text.LoadString(nIDPrompt);
    return AfxMessageBox(text, nType, nIDHelp == (UINT)-1 ? nIDPrompt : nIDHelp);
}
