// CWinApp: the one application object. This header holds its identity and the
// profile functions (winapp_profile.cpp); the window layer adds the main
// window, the message loop, document templates and the recent-file list.
#pragma once

#include <windows.h>

#include "framework/cstring.h"
#include "framework/object.h"

class CWinApp : public CObject {
public:
    // NULL takes the name from string resource AFX_IDS_APP_TITLE (see
    // AfxGetAppName). The constructor makes this object the one AfxGetApp gives.
    explicit CWinApp(LPCSTR lpszAppName = NULL);
    virtual ~CWinApp();

    // Identity. The strings belong to the object (freed by the destructor).
    LPCSTR m_pszAppName;
    LPCSTR m_pszRegistryKey;   // maker key under HKCU\Software; NULL: INI file
    LPCSTR m_pszProfileName;   // program key under the maker key, or INI file name
    LPCSTR m_pszExeName;       // program file name without extension
    HINSTANCE m_hInstance;

    // --- Profile (winapp_profile.cpp) --------------------------------------
    // Points the profile at HKEY_CURRENT_USER\Software\<key>\<app name>.
    void SetRegistryKey(LPCSTR lpszRegistryKey);
    void SetRegistryKey(UINT nIDRegistryKey);

    // Section and entry names are compared without regard to case. An integer
    // is read from any value of at most four bytes; a longer or missing one
    // gives the default.
    int GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault);
    BOOL WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue);
    CString GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault = NULL);
    // A NULL value deletes the entry; a NULL entry deletes the whole section.
    // Deleting something that is not there succeeds.
    BOOL WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue);

    // HKEY_CURRENT_USER\Software\<maker>\<program>[\<section>], created when
    // missing; the caller closes the key. NULL without a registry key or on error.
    HKEY GetAppRegistryKey();
    HKEY GetSectionKey(LPCSTR lpszSection);

    // --- Life cycle ---------------------------------------------------------
    // Placeholders until the window layer implements them.
    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return 0; }
    virtual int Run() { return ExitInstance(); }

    // --- Window layer -------------------------------------------------------
    // The window layer adds here: m_pMainWnd, m_nCmdShow, m_lpCmdLine,
    // AddDocTemplate, OnFileNew, OnFileOpen, OpenDocumentFile,
    // LoadStdProfileSettings and the recent-file list, EnableShellOpen,
    // RegisterShellFileTypes, the message loop and command routing.

private:
    void SetProfileNameFromApp();
};

// The application object, or NULL before it is constructed.
CWinApp* AfxGetApp();
