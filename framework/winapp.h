// CWinApp: the one application object. This header holds its identity and the
// profile functions (winapp_profile.cpp); the window layer adds the main
// window, the message loop, document templates and the recent-file list.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/cmd_target.h"
#include "framework/cstring.h"
#include "framework/object.h"

class CDocTemplate;
class CDocument;
class CRecentFileList;
class CWnd;
class CCmdUI;

class CWinApp : public CCmdTarget {
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

    // --- Life cycle (winapp.cpp) --------------------------------------------
    virtual BOOL InitApplication();
    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // The message loop: idle processing while the queue is empty, then each
    // message offered to PreTranslateMessage (accelerators) and dispatched.
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // lCount counts the idle calls since the last message; TRUE asks for more.
    virtual BOOL OnIdle(LONG lCount);
    // Runs the idle work at once (updates toolbar buttons); tests use it.
    void IdleUpdate();

    // --- Window layer (winapp.cpp) -----------------------------------------
    CWnd* m_pMainWnd = nullptr;    // the main frame, set when the first frame is made
    int m_nCmdShow = SW_SHOWNORMAL;      // show command for the main window's first show
    LPSTR m_lpCmdLine = nullptr;   // text after the program name

    void AddDocTemplate(CDocTemplate* pTemplate);
    CDocTemplate* GetFirstDocTemplate() const;
    // Opens the file in the one template's document; NULL on failure (reported).
    virtual CDocument* OpenDocumentFile(LPCSTR lpszFileName);
    void CloseAllDocuments(BOOL bEndSession);
    afx_msg void OnFileNew();
    afx_msg void OnFileOpen();
    // The file dialog for File Open, built from the template's filter.
    virtual BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog);

    // Recent files: "Recent File List"/"File%d", and "Settings"/"PreviewPages".
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    void SaveStdProfileSettings();
    virtual void AddToRecentFileList(LPCSTR lpszPathName);
    CRecentFileList* m_pRecentFileList = nullptr;
    UINT m_nNumPreviewPages = 0;
    afx_msg void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);
    afx_msg BOOL OnOpenRecentFile(UINT nID);

    // Shell: DDE open and the document types in HKEY_CLASSES_ROOT
    // (shell_registration.cpp).
    void EnableShellOpen();
    void RegisterShellFileTypes(BOOL bCompat = FALSE);
    // A DDE command from the shell: [open("path")].
    virtual BOOL OnDDECommand(LPSTR lpszCommand);
    ATOM m_atomApp = 0;
    ATOM m_atomSystemTopic = 0;
    CString m_strAtomApp;

    // Three-dimensional dialog controls are the system's own: nothing to do.
    BOOL Enable3dControls() { return TRUE; }

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    std::vector<CDocTemplate*> m_templates;

    DECLARE_MESSAGE_MAP()

private:
    void SetProfileNameFromApp();
};

// The application object, or NULL before it is constructed.
CWinApp* AfxGetApp();

// The program's entry: sets up the application object and runs it.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
// OLE for the whole run (OleInitialize); FALSE when it fails.
BOOL AfxOleInit();

// Framework commands of the application.
#define ID_FILE_NEW 0xE100
#define ID_FILE_OPEN 0xE101
#define ID_FILE_MRU_FILE1 0xE110
#define ID_FILE_MRU_FILE4 0xE113
#define ID_APP_ABOUT 0xE140
#define ID_APP_EXIT 0xE141
