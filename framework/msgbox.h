// The framework's message box: the one place the program shows one. The box is
// owned by the main window (its last active pop-up) when there is one and is
// captioned with the application's name.
#pragma once

#include <windows.h>

int AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// Shows the string resource nIDPrompt.
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);
