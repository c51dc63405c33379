// Program-wide framework state: the module that holds the resources, the
// application's name (caption of message boxes) and the main window handle,
// which the window layer sets when the main frame is created and clears when it
// is destroyed.
#pragma once

#include <windows.h>

HINSTANCE AfxGetInstanceHandle();
void AfxSetInstanceHandle(HINSTANCE hInstance);
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hResource);

// NULL while the application has no main window.
HWND AfxGetMainWndHandle();
void AfxSetMainWndHandle(HWND hWnd);

// The application's name: the one set, else string resource AFX_IDS_APP_TITLE,
// else the program file's name without extension.
LPCSTR AfxGetAppName();
void AfxSetAppName(LPCSTR pszAppName);

#define AFX_IDS_APP_TITLE 0xE000
